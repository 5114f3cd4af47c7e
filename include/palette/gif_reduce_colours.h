#pragma once

#include "format/gif_format.h"

#include <wx/image.h>

#include <cstdint>
#include <functional>
#include <vector>

// A frame as the GIF file stores it: a colour table and one table index per
// pixel, row by row.
struct GifIndexedFrame {
    int width = 0;
    int height = 0;
    std::vector<GifRgb> palette; // 1 to 256 entries
    std::vector<std::uint8_t> indices;
};

struct GifReduceOptions {
    int maxColours = kGifMaxColours; // 2 to 256
    // Error diffusion strength (0 to 1) for photos (images of many thousand
    // colours); 0 maps every pixel to its nearest palette colour.
    float dither = 0;
    // A palette already written (the file's global table): images of a few
    // thousand colours (screen content) use it instead of their own, and so
    // need no colour table of their own, when its mean squared error per
    // channel is at most `sharedTolerance` times their own palette's, or at
    // most `sharedMeanSquaredError`. Asked for only by such images, so that
    // it may wait for the table while photos are reduced in the meantime;
    // null or empty when there is none.
    std::function<const std::vector<GifRgb>*()> shared;
    double sharedTolerance = 1;
    double sharedMeanSquaredError = 0;
    // Quicker choices that make larger files: large photos dithered by the
    // plain error diffusion.
    bool fast = false;
    // When given, one per pixel: nonzero where the frame shows what the
    // frame before it showed. Such pixels keep what the viewer shows, so
    // their indices are never written and they are not dithered.
    const std::uint8_t* still = nullptr;
};

// Reduces an RGB image to at most options.maxColours colours. An image with
// no more colours than that keeps them exactly (palette in order of first
// appearance). Others get a palette chosen by libimagequant (or by merging,
// for a few thousand colours) and refined for the image by k-means; every
// pixel becomes its nearest palette colour, or is dithered (photos only; large
// photos by an edge-aware error diffusion). Returns the mean
// squared error per colour channel of the undithered mapping; false for an
// empty image.
bool GifReduceToIndexed(const wxImage& image, GifIndexedFrame& frame, double* meanSquaredError = nullptr,
                        const GifReduceOptions& options = {});

// The RGB image of an indexed frame with its colour table as palette: what the
// GIF writer takes.
wxImage GifPaletteImage(const GifIndexedFrame& frame);

// GifReduceToIndexed as a palette image, without mask or alpha; its palette
// holds every pixel colour. Invalid when `frame` is invalid or empty.
wxImage ReduceGifColours(wxImage& frame);
