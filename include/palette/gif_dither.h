#pragma once

#include "format/gif_format.h"

#include <cstdint>
#include <vector>

// Maps every pixel of an RGB picture to a palette entry by error diffusion
// (Floyd-Steinberg weights, rows in alternating directions). `strength` (0 to
// 1) scales the error passed on. A pixel whose four neighbours have its very
// colour takes its entry from `nearestIndices` and passes nothing on, so flat
// areas stay clean. `indices` may be `nearestIndices` itself. The result
// depends on the picture alone.
void GifDitherPixels(const unsigned char* rgb, int width, int height, const std::vector<GifRgb>& palette,
                     const std::uint8_t* nearestIndices, float strength, std::uint8_t* indices);
