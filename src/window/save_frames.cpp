#include "window/save_frames.h"

#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

std::vector<FramePixels> CollectSaveFrames(const wxThumbnailCtrl& thumbnails)
{
    std::vector<FramePixels> frames;
    frames.reserve(thumbnails.GetCount());
    for (int i = 0; i < thumbnails.GetCount(); ++i) {
        const auto* item = wxDynamicCast(thumbnails.GetItem(i), wxImageThumbnailItem);
        frames.push_back(item ? FramePixelsOf(item->GetFullImage()) : FramePixels());
    }
    return frames;
}
