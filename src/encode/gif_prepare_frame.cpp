#include "encode/gif_prepare_frame.h"

#include "decode/picture_scale.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned kOpaque = 255;

// Draws `picture` onto the black `canvas` with its top left corner at (left,
// top): masked pixels stay black, alpha blends over black.
void DrawOnBlack(const wxImage& picture, wxImage& canvas, int left, int top)
{
    const int width = std::min(picture.GetWidth(), canvas.GetWidth() - left);
    const int height = std::min(picture.GetHeight(), canvas.GetHeight() - top);
    const bool hasMask = picture.HasMask();
    const unsigned char maskRed = picture.GetMaskRed();
    const unsigned char maskGreen = picture.GetMaskGreen();
    const unsigned char maskBlue = picture.GetMaskBlue();
    const unsigned char* alpha = picture.HasAlpha() ? picture.GetAlpha() : nullptr;
    for (int y = 0; y < height; ++y) {
        const std::size_t sourceRow = std::size_t(y) * picture.GetWidth();
        const unsigned char* from = picture.GetData() + sourceRow * 3;
        unsigned char* to = canvas.GetData() + (std::size_t(top + y) * canvas.GetWidth() + left) * 3;
        if (!hasMask && alpha == nullptr) {
            std::memcpy(to, from, std::size_t(width) * 3);
            continue;
        }
        for (int x = 0; x < width; ++x, from += 3, to += 3) {
            if (hasMask && from[0] == maskRed && from[1] == maskGreen && from[2] == maskBlue)
                continue;
            const unsigned a = alpha ? alpha[sourceRow + x] : kOpaque;
            for (int c = 0; c < 3; ++c)
                to[c] = static_cast<unsigned char>((from[c] * a + kOpaque / 2) / kOpaque);
        }
    }
}

wxSize FittedPictureSize(const wxSize& picture, const wxSize& size)
{
    if (picture.GetWidth() < 1 || picture.GetHeight() < 1)
        return picture;
    const double scaleX = double(size.GetWidth()) / picture.GetWidth();
    const double scaleY = double(size.GetHeight()) / picture.GetHeight();
    if (scaleX >= 1 && scaleY >= 1)
        return picture;
    const double factor = std::min(scaleX, scaleY);
    // Truncated toward zero; a sliver keeps one pixel.
    return wxSize(std::max(1, static_cast<int>(factor * picture.GetWidth())),
                  std::max(1, static_cast<int>(factor * picture.GetHeight())));
}

} // namespace

wxSize PreparedDecodeSize(const wxSize& picture, const wxSize& size)
{
    const wxSize fitted = FittedPictureSize(picture, size);
    return wxSize(std::min(picture.GetWidth(), 2 * fitted.GetWidth()),
                  std::min(picture.GetHeight(), 2 * fitted.GetHeight()));
}

wxImage PrepareGifFrame(const wxImage& source, wxImage& work, const wxSize& size)
{
    const int outWidth = size.GetWidth();
    const int outHeight = size.GetHeight();
    if (outWidth < 1 || outHeight < 1)
        return wxImage();
    const int sourceWidth = source.IsOk() ? source.GetWidth() : 0;
    const int sourceHeight = source.IsOk() ? source.GetHeight() : 0;

    // A new image starts black (clear = true).
    wxImage frame(outWidth, outHeight, true);
    if (sourceWidth < 1 || sourceHeight < 1)
        return frame;

    const wxSize fitted = FittedPictureSize(source.GetSize(), size);
    if (fitted != source.GetSize()) {
        const int width = fitted.GetWidth();
        const int height = fitted.GetHeight();
        // Averaging would blend a mask colour or transparent pixels into
        // their neighbours and leave a fringe; pixels kept exact cannot.
        const bool opaque = !source.HasMask() && !source.HasAlpha();
        work = opaque ? ScaleByAveraging(source, width, height) : source.Scale(width, height, wxIMAGE_QUALITY_NORMAL);
        DrawOnBlack(work, frame, (outWidth - width) / 2, (outHeight - height) / 2);
    } else {
        DrawOnBlack(source, frame, (outWidth - sourceWidth) / 2, (outHeight - sourceHeight) / 2);
    }
    return frame;
}
