#pragma once

#include "format/gif_format.h"

#include <cstdint>
#include <vector>

// Error diffusion for large photos that dithers where banding would show and
// holds back elsewhere: each pixel's share of the error is scaled by a map
// that is low at edges and in noise of the picture, and low where the
// undithered mapping (`nearestIndices`) already changes entry from pixel to
// pixel; high in smooth areas that map to runs of one entry. Rows go in
// alternating directions (Floyd-Steinberg weights); an error far larger than
// the palette's usual error (`meanSquaredError`, summed over the channels, per
// pixel) is passed on damped. Colours are matched, and errors measured, in a
// space darker than sRGB. A pixel whose four neighbours have its very
// colour takes its entry from `nearestIndices` and passes nothing on, as
// does a pixel marked in `still`. `strength` (0 to 1) and `still` as for
// GifDitherPixels. `indices` may be `nearestIndices` itself. The result
// depends on the picture and `still` alone.
void GifEdgeDitherPixels(const unsigned char* rgb, int width, int height, const std::vector<GifRgb>& palette,
                         const std::uint8_t* nearestIndices, double meanSquaredError, float strength,
                         std::uint8_t* indices, const std::uint8_t* still = nullptr);
