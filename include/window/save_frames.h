#pragma once

#include "window/engine/gif_pipeline.h"

#include <vector>

class wxThumbnailCtrl;

// Where the pixels of one frame lie while a save runs: the buffers of the
// item's full-size picture, which stay unchanged while the item lives. Only
// the main thread touches the picture object itself (its reference count is
// not thread-safe); workers read these buffers.
struct SaveFrameSource {
    int width = 0;
    int height = 0;
    const unsigned char* rgb = nullptr;   // width * height * 3 bytes
    const unsigned char* alpha = nullptr; // width * height bytes, or none
    bool hasMask = false;
    unsigned char maskRed = 0;
    unsigned char maskGreen = 0;
    unsigned char maskBlue = 0;
};

// The frames of the strip in list order. Main thread only.
std::vector<SaveFrameSource> CollectSaveFrames(const wxThumbnailCtrl& thumbnails);

// A supplier that gives each call a fresh picture copied from the buffers.
// The frames must stay alive and unchanged while the supplier is used.
GifFrameSupplier MakeFrameSupplier(const std::vector<SaveFrameSource>& frames);
