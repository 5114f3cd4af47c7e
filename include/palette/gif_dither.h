#pragma once

#include "format/gif_format.h"

#include <cstdint>
#include <vector>

// Maps every pixel of an RGB picture to a palette entry by error diffusion
// (Floyd-Steinberg weights, rows in alternating directions). `strength` (0 to
// 1) scales the error passed on. A pixel whose four neighbours have its very
// colour takes its entry from `nearestIndices` and passes nothing on, so flat
// areas stay clean; so does a pixel marked in `still` (when given: one per
// pixel, nonzero where nothing will write the pixel's index). `indices` may
// be `nearestIndices` itself. The result depends on the picture and `still`
// alone.
void GifDitherPixels(const unsigned char* rgb, int width, int height, const std::vector<GifRgb>& palette,
                     const std::uint8_t* nearestIndices, float strength, std::uint8_t* indices,
                     const std::uint8_t* still = nullptr);
