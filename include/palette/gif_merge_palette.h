#pragma once

#include "format/gif_format.h"

#include <cstdint>
#include <vector>

struct GifWeightedColour {
    std::uint32_t rgb; // 0xRRGGBB
    std::uint32_t count;
};

// A palette of at most `maxColours` entries for a few thousand distinct
// colours (screen content): the colours start as their own clusters and the
// two clusters whose merging adds the least squared error are merged until
// `maxColours` remain (Ward's method). The entries are the clusters' means.
// Cost grows with the square of the number of colours.
std::vector<GifRgb> GifMergePalette(const std::vector<GifWeightedColour>& colours, int maxColours);
