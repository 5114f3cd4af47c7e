#include "window/save_frames.h"

#include "window/thumbnailctrl.h"
#include "window/thumbnailitem.h"

#include <wx/filename.h>

std::vector<SaveFrame> CollectSaveFrames(const wxThumbnailCtrl& thumbnails)
{
    std::vector<SaveFrame> frames;
    frames.reserve(thumbnails.GetCount());
    for (int i = 0; i < thumbnails.GetCount(); ++i) {
        const auto* item = wxDynamicCast(thumbnails.GetItem(i), wxImageThumbnailItem);
        SaveFrame frame;
        if (item) {
            frame.source = item->GetSource();
            frame.name = wxString(wxFileNameFromPath(item->GetFileName()).wc_str());
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::vector<int> ChangedSaveFrames(const std::vector<SaveFrame>& frames)
{
    std::vector<int> changed;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].source && !frames[i].source->IsIntact())
            changed.push_back(static_cast<int>(i));
    }
    return changed;
}
