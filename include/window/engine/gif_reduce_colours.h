#pragma once

#include "window/engine/gif_blocks.h"

#include <wx/image.h>

#include <cstdint>
#include <vector>

// A frame as the GIF file stores it: a colour table and one table index per
// pixel, row by row.
struct GifIndexedFrame {
    int width = 0;
    int height = 0;
    std::vector<GifRgb> palette; // 1 to 256 entries
    std::vector<std::uint8_t> indices;
};

// The distinct colours of an RGB image in order of first appearance, with
// each pixel's index among them; false (and `frame` unspecified) when there
// are more than 256.
bool GifIndexExactColours(const wxImage& image, GifIndexedFrame& frame);

// Maps every pixel of `image` to the nearest entry of `palette`; returns the
// mean squared error per colour channel.
double GifRemapToPalette(const wxImage& image, const std::vector<GifRgb>& palette, GifIndexedFrame& frame);

// A palette of at most 256 colours chosen for a photo-like image (more than
// 256 colours) by libimagequant. Empty on failure.
std::vector<GifRgb> GifChoosePalette(const wxImage& image);

// The mean colour of the pixels mapped to each entry of `frame`'s palette
// (entries without pixels stay as they are).
std::vector<GifRgb> GifCentroidPalette(const wxImage& image, const GifIndexedFrame& frame);

// Remaps `image` to `palette`, then improves the palette for it by k-means
// steps; returns the mean squared error per channel.
double GifQuantise(const wxImage& image, const std::vector<GifRgb>& palette, GifIndexedFrame& frame);

// The RGB image of an indexed frame with its colour table as palette: what the
// GIF writer takes.
wxImage GifPaletteImage(const GifIndexedFrame& frame);

// Reduces a frame to at most 256 colours: a frame with at most 256 keeps them
// exactly; others get a palette chosen for them and every pixel becomes the
// nearest palette colour (no dithering). The result has no mask or alpha, and
// its palette holds every pixel colour. Invalid when `frame` is.
wxImage ReduceGifColours(wxImage& frame);
