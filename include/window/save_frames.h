#pragma once

#include "encode/frame_pixels.h"

#include <vector>

class wxThumbnailCtrl;

// The pixel buffers of the strip's frames in list order, for a save thread to
// read. The items' pictures stay unchanged while they live, and the window is
// disabled while a save runs. Main thread only.
std::vector<FramePixels> CollectSaveFrames(const wxThumbnailCtrl& thumbnails);
