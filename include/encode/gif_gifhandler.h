#pragma once

#include "encode/gif_blocks.h"

#include <wx/image.h>

// Writes one whole frame of an animated GIF to CurrentGifStream. Make a new
// one for every frame.
class MyGifHandler {
public:
    // The header (first frame only, with the loop extension for `plays`
    // passes), control extension, image descriptor, local colour table (later
    // frames) and compressed pixels of `image`, whose every pixel colour must
    // be one of the table's `count` entries. A frame that breaks that rule is
    // refused before anything is written.
    bool DoSaveFile(const wxImage& image, bool first, int delayMilliSecs, const GifRgb* table,
                    int count, int maskIndex, int plays = 0);
};

// Copies the image's palette into `table` (256 entries) and finds the index of
// its mask colour (-1 without a mask). False when the image has no palette or
// one larger than a GIF table.
bool GifGetPalette(const wxImage& image, GifRgb* table, int& count, int& maskIndex);

// Writes frame `frameIndex` of `frameCount`: the header before frame 0 (an
// animation of `plays` passes, 0 = for ever) and the trailer after the last.
// False, with nothing of the frame written, when the image is not a palette
// image of at most 256 colours.
bool GifWriteFrame(const wxImage& image, MyGifHandler& handler, int delayMilliSecs, int frameCount,
                   int frameIndex, int plays = 0);
