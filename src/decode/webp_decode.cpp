#include "decode/webp_decode.h"

#include "decode/picture_format.h"

#include <webp/decode.h>

#include <cstring>
#include <vector>

namespace {

// The RIFF header (12 bytes), then the first chunk's type; a VP8X chunk's
// flags follow its type and length.
constexpr std::size_t kFirstChunkOffset = 12;
constexpr std::size_t kVp8xFlagsOffset = 20;
// Bit of the VP8X flags that marks an animation (WebP container format).
constexpr unsigned char kAnimationFlag = 0x02;

} // namespace

bool IsStillWebP(const unsigned char* data, std::size_t size)
{
    if (size <= kVp8xFlagsOffset || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WEBP", 4) != 0)
        return false;
    const unsigned char* chunk = data + kFirstChunkOffset;
    if (std::memcmp(chunk, "VP8X", 4) == 0)
        return (data[kVp8xFlagsOffset] & kAnimationFlag) == 0;
    return std::memcmp(chunk, "VP8 ", 4) == 0 || std::memcmp(chunk, "VP8L", 4) == 0;
}

int DecodeWebPPicture(const unsigned char* data, std::size_t size, const PictureSink& sink)
{
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK || features.has_animation
        || !IsAcceptablePictureSize(DeclaredSize{features.width, features.height}))
        return 0;
    const std::size_t pixels = static_cast<std::size_t>(features.width) * features.height;
    wxImage picture;
    if (features.has_alpha) {
        std::vector<unsigned char> rgba(pixels * 4);
        if (!WebPDecodeRGBAInto(data, size, rgba.data(), rgba.size(), features.width * 4))
            return 0;
        picture = PictureFromRgba(rgba.data(), wxSize(features.width, features.height));
    } else {
        picture.Create(features.width, features.height, false);
        if (!picture.IsOk() || !WebPDecodeRGBInto(data, size, picture.GetData(), pixels * 3, features.width * 3))
            return 0;
    }
    sink(std::move(picture), 0);
    return 1;
}

wxImage PictureFromRgba(const unsigned char* rgba, const wxSize& size)
{
    const std::size_t pixels = static_cast<std::size_t>(size.x) * size.y;
    wxImage picture(size, false);
    unsigned char* rgb = picture.GetData();
    bool opaque = true;
    for (std::size_t i = 0; i < pixels; ++i) {
        std::memcpy(rgb + 3 * i, rgba + 4 * i, 3);
        opaque = opaque && rgba[4 * i + 3] == 0xFF;
    }
    if (!opaque) {
        picture.SetAlpha();
        unsigned char* alpha = picture.GetAlpha();
        for (std::size_t i = 0; i < pixels; ++i)
            alpha[i] = rgba[4 * i + 3];
    }
    return picture;
}
