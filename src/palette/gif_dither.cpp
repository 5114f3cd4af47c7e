#include "palette/gif_dither.h"

#include "palette/gif_nearest_colour.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Floyd-Steinberg's shares of the error, in sixteenths.
constexpr float kAhead = 7.0f / 16;
constexpr float kBehindBelow = 3.0f / 16;
constexpr float kBelow = 5.0f / 16;
constexpr float kAheadBelow = 1.0f / 16;
// Larger errors come from colours the palette lacks altogether; passed on
// whole they smear streaks across the picture.
constexpr float kMaxError = 40.0f;

bool SameColour(const unsigned char* a, const unsigned char* b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

bool IsFlat(const unsigned char* rgb, int width, int height, int x, int y)
{
    const unsigned char* pixel = rgb + (std::size_t(y) * width + x) * 3;
    const std::size_t row = std::size_t(width) * 3;
    return (x == 0 || SameColour(pixel, pixel - 3)) && (x + 1 == width || SameColour(pixel, pixel + 3)) &&
           (y == 0 || SameColour(pixel, pixel - row)) && (y + 1 == height || SameColour(pixel, pixel + row));
}

// Remembers the last answers of the nearest-colour search by exact colour:
// neighbouring pixels mostly ask for the same few colours.
class NearestCache {
public:
    explicit NearestCache(const std::vector<GifRgb>& palette) : m_nearest(palette.data(), int(palette.size()))
    {
        m_keys.fill(kEmpty);
    }

    int Find(unsigned char red, unsigned char green, unsigned char blue)
    {
        const std::uint32_t key = (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | blue;
        const std::size_t slot = (key * 2654435761u) >> (32 - kSlotBits);
        if (m_keys[slot] != key) {
            m_keys[slot] = key;
            m_indices[slot] = static_cast<std::uint8_t>(m_nearest.Find(red, green, blue));
        }
        return m_indices[slot];
    }

private:
    static constexpr int kSlotBits = 14;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    GifNearestColour m_nearest;
    std::array<std::uint32_t, std::size_t(1) << kSlotBits> m_keys;
    std::array<std::uint8_t, std::size_t(1) << kSlotBits> m_indices;
};

unsigned char Clamp(float value)
{
    return static_cast<unsigned char>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

} // namespace

void GifDitherPixels(const unsigned char* rgb, int width, int height, const std::vector<GifRgb>& palette,
                     const std::uint8_t* nearestIndices, float strength, std::uint8_t* indices,
                     const std::uint8_t* still)
{
    NearestCache nearest(palette);
    // Errors of this row and the next, one pixel of margin on either side.
    const std::size_t rowFloats = (std::size_t(width) + 2) * 3;
    std::vector<float> current(rowFloats, 0.0f), next(rowFloats, 0.0f);
    for (int y = 0; y < height; ++y) {
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = forward ? i : width - 1 - i;
            const std::size_t pixel = std::size_t(y) * width + x;
            const unsigned char* from = rgb + pixel * 3;
            float* error = &current[(x + 1) * 3];
            if ((still && still[pixel]) || IsFlat(rgb, width, height, x, y)) {
                indices[pixel] = nearestIndices[pixel];
                continue;
            }
            float wanted[3];
            for (int c = 0; c < 3; ++c)
                wanted[c] = from[c] + error[c] * strength;
            const int index = nearest.Find(Clamp(wanted[0]), Clamp(wanted[1]), Clamp(wanted[2]));
            indices[pixel] = static_cast<std::uint8_t>(index);
            const GifRgb& chosen = palette[index];
            const float got[3] = {float(chosen.red), float(chosen.green), float(chosen.blue)};
            for (int c = 0; c < 3; ++c) {
                const float e = std::clamp(wanted[c] - got[c], -kMaxError, kMaxError);
                current[(x + 1 + step) * 3 + c] += e * kAhead;
                next[(x + 1 - step) * 3 + c] += e * kBehindBelow;
                next[(x + 1) * 3 + c] += e * kBelow;
                next[(x + 1 + step) * 3 + c] += e * kAheadBelow;
            }
        }
        current.swap(next);
        std::fill(next.begin(), next.end(), 0.0f);
    }
}
