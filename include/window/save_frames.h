#pragma once

#include "decode/frame_source.h"

#include <wx/string.h>

#include <vector>

class wxThumbnailCtrl;

// What a save needs of one frame: where its pixels come from and its name
// for messages (a copy of its own, for the save thread).
struct SaveFrame {
    FrameSourcePtr source; // null for an item without a picture
    wxString name;
};

// The strip's frames in list order. Main thread only.
std::vector<SaveFrame> CollectSaveFrames(const wxThumbnailCtrl& thumbnails);
// The positions of the frames whose source changed or vanished since they
// were added (a cheap check, no decoding).
std::vector<int> ChangedSaveFrames(const std::vector<SaveFrame>& frames);
