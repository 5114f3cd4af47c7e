#include "window/save_frames.h"

#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <cstring>

namespace {
const int kRgbBytes = 3;

SaveFrameSource SourceOf(const wxImage& image)
{
    SaveFrameSource source;
    if (!image.IsOk())
        return source;
    source.width = image.GetWidth();
    source.height = image.GetHeight();
    source.rgb = image.GetData();
    source.alpha = image.HasAlpha() ? image.GetAlpha() : nullptr;
    source.hasMask = image.HasMask();
    if (source.hasMask) {
        source.maskRed = image.GetMaskRed();
        source.maskGreen = image.GetMaskGreen();
        source.maskBlue = image.GetMaskBlue();
    }
    return source;
}

wxImage CopyOf(const SaveFrameSource& source)
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

std::vector<SaveFrameSource> CollectSaveFrames(const wxThumbnailCtrl& thumbnails)
{
    std::vector<SaveFrameSource> frames;
    frames.reserve(thumbnails.GetCount());
    for (int i = 0; i < thumbnails.GetCount(); ++i) {
        const auto* item = wxDynamicCast(thumbnails.GetItem(i), wxImageThumbnailItem);
        frames.push_back(item ? SourceOf(item->GetFullImage()) : SaveFrameSource());
    }
    return frames;
}

GifFrameSupplier MakeFrameSupplier(const std::vector<SaveFrameSource>& frames)
{
    return [&frames](std::size_t index) { return index < frames.size() ? CopyOf(frames[index]) : wxImage(); };
}
