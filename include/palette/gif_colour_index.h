#pragma once

#include "format/gif_format.h"

#include <array>
#include <cstdint>

// Finds a colour's index in a colour table of up to 256 entries in constant
// time. Like a linear scan it answers the first entry equal to the colour.
class GifColourIndex {
public:
    GifColourIndex(const GifRgb* table, int count);

    // The table index of the colour, or -1 when the table lacks it.
    int Find(unsigned char red, unsigned char green, unsigned char blue) const;

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    // Four times the largest table keeps the probe chains short.
    static constexpr std::size_t kSlots = 1024;

    static std::size_t SlotOf(std::uint32_t key) { return (key * 2654435761u) >> 22; }

    std::array<std::uint32_t, kSlots> m_keys;
    std::array<std::int16_t, kSlots> m_indices;
};
