#pragma once

#include "decode/frame_loader.h"

#include <wx/string.h>

#include <cstddef>
#include <functional>
#include <vector>

// Receives each frame of a list load with the index of the name it came from;
// return false to stop the load.
using ListFrameSink = std::function<bool(int entry, LoadedFrame&& frame)>;

// How a list load runs: its workers, how many frames may wait beyond the
// name being delivered, and a check, polled while waiting, that ends the load
// early (Cancel).
struct ListLoadLimits {
    unsigned workers = 1;
    std::size_t framesAhead = 16;
    std::function<bool()> stopping;
};

// Loads every name with LoadMediaFrames on `limits.workers` threads and hands
// the frames to `sink` on the calling thread in list order, each name's frames
// in their own order. A worker that runs ahead of the name being delivered
// waits once `limits.framesAhead` frames are waiting, so memory stays bounded
// whatever the number of names. Consecutive names of single frames of one
// clip ("clip.mp4#t=1.5", a project's clip frames) go to one worker, so that
// its decoder walks forward through the clip instead of seeking for each.
// Names that yield nothing are passed over.
void LoadListInOrder(const std::vector<wxString>& names, const ThumbnailSizeRule& thumbnailSize,
                     const ListLoadLimits& limits, const ListFrameSink& sink);

// The runs of `names` that one worker loads: [first, last) index pairs, a run
// of single frames of one clip together, every other name alone.
std::vector<std::pair<int, int>> ListLoadUnits(const std::vector<wxString>& names);
