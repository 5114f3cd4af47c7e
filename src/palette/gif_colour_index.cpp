#include "palette/gif_colour_index.h"

namespace {

std::uint32_t KeyOf(unsigned char red, unsigned char green, unsigned char blue)
{
    return (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | blue;
}

} // namespace

GifColourIndex::GifColourIndex(const GifRgb* table, int count)
{
    m_keys.fill(kEmpty);
    m_indices.fill(-1);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t key = KeyOf(table[i].red, table[i].green, table[i].blue);
        std::size_t slot = SlotOf(key);
        while (m_keys[slot] != kEmpty && m_keys[slot] != key)
            slot = (slot + 1) % kSlots;
        // A repeated colour keeps its first index.
        if (m_keys[slot] == kEmpty) {
            m_keys[slot] = key;
            m_indices[slot] = static_cast<std::int16_t>(i);
        }
    }
}

int GifColourIndex::Find(unsigned char red, unsigned char green, unsigned char blue) const
{
    const std::uint32_t key = KeyOf(red, green, blue);
    for (std::size_t slot = SlotOf(key);; slot = (slot + 1) % kSlots) {
        if (m_keys[slot] == key)
            return m_indices[slot];
        if (m_keys[slot] == kEmpty)
            return -1;
    }
}
