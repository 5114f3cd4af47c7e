#pragma once

#include "rules/undo_history.h"
#include "window/thumbnailitem.h"

#include <vector>

// What undo and redo bring back: the frames (their shared pictures and
// delays), the selection and the output settings.
struct FrameListState {
    struct Frame {
        FramePicturePtr picture;
        int delay = 0;
        bool operator==(const Frame& other) const { return picture == other.picture && delay == other.delay; }
    };
    std::vector<Frame> frames;
    std::vector<int> selection;
    int width = 0;
    int height = 0;
    // The proportions the width and height are coupled by.
    int aspectWidth = 0;
    int aspectHeight = 0;
    int loopCount = 0;
    bool loopInFile = false;
    int quality = 0;

    // The same animation; a different selection alone is no change.
    bool SameAnimation(const FrameListState& other) const
    {
        return frames == other.frames && width == other.width && height == other.height &&
               aspectWidth == other.aspectWidth && aspectHeight == other.aspectHeight &&
               loopCount == other.loopCount && loopInFile == other.loopInFile && quality == other.quality;
    }
};

// Edits of one control in a row are undone together.
enum HistoryMergeKey { kMergeNone, kMergeSize, kMergeQuality, kMergeDelay };

using FrameHistory = UndoHistory<FrameListState>;
