#pragma once

#include "encode/gif_pipeline.h"

#include <wx/image.h>

#include <vector>

// Where the pixels of one frame lie while it is encoded: the buffers of a
// picture that stays alive and unchanged meanwhile. Only the thread that owns
// the picture touches the picture object itself (its reference count is not
// thread-safe); encoding workers read these buffers.
struct FramePixels {
    int width = 0;
    int height = 0;
    const unsigned char* rgb = nullptr;   // width * height * 3 bytes
    const unsigned char* alpha = nullptr; // width * height bytes, or none
    bool hasMask = false;
    unsigned char maskRed = 0;
    unsigned char maskGreen = 0;
    unsigned char maskBlue = 0;
};

// The buffers of `picture`; empty for a picture that is not valid.
FramePixels FramePixelsOf(const wxImage& picture);

// A supplier that gives each call a fresh picture copied from the buffers:
// colours, alpha and mask colour, nothing else. The frames must stay alive and
// unchanged while the supplier is used.
GifFrameSupplier MakeFrameSupplier(const std::vector<FramePixels>& frames);
