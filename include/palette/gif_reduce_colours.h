#pragma once

#include "format/gif_format.h"

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

// Reduces an RGB image to at most 256 colours. An image with at most 256
// colours keeps them exactly (palette in order of first appearance). Others
// get a palette chosen by libimagequant and refined for the image by k-means,
// and every pixel becomes its nearest palette colour (no dithering). Returns
// the mean squared error per colour channel; false for an empty image.
bool GifReduceToIndexed(const wxImage& image, GifIndexedFrame& frame, double* meanSquaredError = nullptr);

// The RGB image of an indexed frame with its colour table as palette: what the
// GIF writer takes.
wxImage GifPaletteImage(const GifIndexedFrame& frame);

// GifReduceToIndexed as a palette image, without mask or alpha; its palette
// holds every pixel colour. Invalid when `frame` is invalid or empty.
wxImage ReduceGifColours(wxImage& frame);
