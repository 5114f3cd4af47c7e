#pragma once

#include "window/engine/gif_blocks.h"

#include <cstdint>
#include <vector>

// Finds the palette entry closest to a colour (squared RGB distance; among
// equally close entries the lowest index), remembering recent answers: photos
// repeat colours often, and a search touches only entries whose green is
// near the colour's.
class GifNearestColour {
public:
    GifNearestColour(const GifRgb* palette, int count);

    int Find(unsigned char red, unsigned char green, unsigned char blue);

    // Replaces every RGB pixel of `rgb` (`pixels` of them) by the index of
    // its nearest entry; returns the sum of squared errors.
    std::uint64_t Remap(const unsigned char* rgb, std::size_t pixels, std::uint8_t* indices);

private:
    struct Entry {
        int red, green, blue;
        int index;
    };
    int Search(int red, int green, int blue) const;

    std::vector<Entry> m_byGreen;
    std::vector<GifRgb> m_palette;
    // Direct-mapped cache: the key is 0x1000000 | rgb when filled.
    static constexpr int kCacheBits = 15;
    std::vector<std::uint32_t> m_cacheKeys;
    std::vector<std::uint8_t> m_cacheIndices;
};
