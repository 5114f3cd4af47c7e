#include "window/engine/gif_nearest_colour.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::uint32_t kFilled = 0x1000000;

int Square(int v)
{
    return v * v;
}

} // namespace

GifNearestColour::GifNearestColour(const GifRgb* palette, int count)
    : m_palette(palette, palette + count), m_cacheKeys(std::size_t(1) << kCacheBits, 0),
      m_cacheIndices(std::size_t(1) << kCacheBits, 0)
{
    for (int i = 0; i < count; ++i)
        m_byGreen.push_back({palette[i].red, palette[i].green, palette[i].blue, i});
    std::stable_sort(m_byGreen.begin(), m_byGreen.end(),
                     [](const Entry& a, const Entry& b) { return a.green < b.green; });
}

int GifNearestColour::Search(int red, int green, int blue) const
{
    const auto start = std::lower_bound(m_byGreen.begin(), m_byGreen.end(), green,
                                        [](const Entry& e, int g) { return e.green < g; });
    int best = INT_MAX;
    int bestIndex = INT_MAX;
    auto consider = [&](const Entry& e) {
        const int distance = Square(e.red - red) + Square(e.green - green) + Square(e.blue - blue);
        if (distance < best || (distance == best && e.index < bestIndex)) {
            best = distance;
            bestIndex = e.index;
        }
    };
    // Walk outwards from the colour's green until the green difference alone
    // exceeds the best distance found.
    auto up = start;
    auto down = start;
    while (up != m_byGreen.end() || down != m_byGreen.begin()) {
        bool progressed = false;
        if (up != m_byGreen.end() && Square(up->green - green) <= best) {
            consider(*up++);
            progressed = true;
        } else {
            up = m_byGreen.end();
        }
        if (down != m_byGreen.begin() && Square(std::prev(down)->green - green) <= best) {
            consider(*--down);
            progressed = true;
        } else {
            down = m_byGreen.begin();
        }
        if (!progressed)
            break;
    }
    return bestIndex == INT_MAX ? -1 : bestIndex;
}

int GifNearestColour::Find(unsigned char red, unsigned char green, unsigned char blue)
{
    const std::uint32_t key = kFilled | (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | blue;
    // Multiplicative hash onto the cache.
    const std::size_t slot = (key * 2654435761u) >> (32 - kCacheBits);
    if (m_cacheKeys[slot] == key)
        return m_cacheIndices[slot];
    const int index = Search(red, green, blue);
    m_cacheKeys[slot] = key;
    m_cacheIndices[slot] = static_cast<std::uint8_t>(index);
    return index;
}

std::uint64_t GifNearestColour::Remap(const unsigned char* rgb, std::size_t pixels, std::uint8_t* indices)
{
    std::uint64_t error = 0;
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3) {
        const int index = Find(rgb[0], rgb[1], rgb[2]);
        indices[i] = static_cast<std::uint8_t>(index);
        const GifRgb& c = m_palette[index];
        error += Square(c.red - rgb[0]) + Square(c.green - rgb[1]) + Square(c.blue - rgb[2]);
    }
    return error;
}
