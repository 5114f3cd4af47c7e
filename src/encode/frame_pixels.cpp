#include "encode/frame_pixels.h"

#include <cstring>

namespace {
const int kRgbBytes = 3;

wxImage CopyOf(const FramePixels& source)
{
    if (!source.rgb || source.width <= 0 || source.height <= 0)
        return wxImage();
    const std::size_t pixels = static_cast<std::size_t>(source.width) * source.height;
    wxImage image(source.width, source.height, false);
    if (!image.IsOk())
        return image;
    std::memcpy(image.GetData(), source.rgb, pixels * kRgbBytes);
    if (source.alpha) {
        image.SetAlpha();
        std::memcpy(image.GetAlpha(), source.alpha, pixels);
    }
    if (source.hasMask)
        image.SetMaskColour(source.maskRed, source.maskGreen, source.maskBlue);
    return image;
}
} // namespace

FramePixels FramePixelsOf(const wxImage& picture)
{
    FramePixels pixels;
    if (!picture.IsOk())
        return pixels;
    pixels.width = picture.GetWidth();
    pixels.height = picture.GetHeight();
    pixels.rgb = picture.GetData();
    pixels.alpha = picture.HasAlpha() ? picture.GetAlpha() : nullptr;
    pixels.hasMask = picture.HasMask();
    if (pixels.hasMask) {
        pixels.maskRed = picture.GetMaskRed();
        pixels.maskGreen = picture.GetMaskGreen();
        pixels.maskBlue = picture.GetMaskBlue();
    }
    return pixels;
}

GifFrameSupplier MakeFrameSupplier(const std::vector<FramePixels>& frames)
{
    return [&frames](std::size_t index) { return index < frames.size() ? CopyOf(frames[index]) : wxImage(); };
}
