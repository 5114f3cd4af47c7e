#include "palette/gif_nearest_colour.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kCellSize = 1 << GifNearestColour::kCellBits;


int Square(int v)
{
    return v * v;
}

// Squared distance from `value` to the nearest and the farthest point of
// [low, low + kCellSize - 1] along one axis.
void AxisRange(int value, int low, int& nearest, int& farthest)
{
    const int high = low + kCellSize - 1;
    nearest = value < low ? Square(low - value) : value > high ? Square(value - high) : 0;
    farthest = std::max(Square(value - low), Square(value - high));
}

} // namespace

GifNearestColour::GifNearestColour(const GifRgb* palette, int count)
    : m_palette(palette, palette + count), m_cellStart(kCellsPerSide * kCellsPerSide * kCellsPerSide, -1),
      m_cellCount(m_cellStart.size(), 0)
{
    // Each entry's distances to the cell boundaries along each axis, once for
    // the palette instead of once per cell.
    const std::size_t size = m_palette.size();
    for (int axis = 0; axis < 3; ++axis) {
        m_axisNear[axis].resize(kCellsPerSide * size);
        m_axisFar[axis].resize(kCellsPerSide * size);
        for (int side = 0; side < kCellsPerSide; ++side)
            for (std::size_t i = 0; i < size; ++i) {
                const int value = axis == 0 ? m_palette[i].red : axis == 1 ? m_palette[i].green : m_palette[i].blue;
                AxisRange(value, side * kCellSize, m_axisNear[axis][side * size + i],
                          m_axisFar[axis][side * size + i]);
            }
    }
}

void GifNearestColour::BuildCell(int cell, int red, int green, int blue)
{
    const std::size_t size = m_palette.size();
    const int* nearRed = m_axisNear[0].data() + (red >> kCellBits) * size;
    const int* nearGreen = m_axisNear[1].data() + (green >> kCellBits) * size;
    const int* nearBlue = m_axisNear[2].data() + (blue >> kCellBits) * size;
    const int* farRed = m_axisFar[0].data() + (red >> kCellBits) * size;
    const int* farGreen = m_axisFar[1].data() + (green >> kCellBits) * size;
    const int* farBlue = m_axisFar[2].data() + (blue >> kCellBits) * size;
    std::vector<int>& nearest = m_nearestScratch;
    nearest.resize(size);
    int threshold = INT_MAX; // no colour of the cell is farther than this from its nearest entry
    for (std::size_t i = 0; i < size; ++i) {
        nearest[i] = nearRed[i] + nearGreen[i] + nearBlue[i];
        threshold = std::min(threshold, farRed[i] + farGreen[i] + farBlue[i]);
    }
    m_cellStart[cell] = std::int32_t(m_candidates.size());
    for (std::size_t i = 0; i < size; ++i)
        if (nearest[i] <= threshold)
            m_candidates.push_back(Candidate{nearest[i], m_palette[i].red, m_palette[i].green, m_palette[i].blue,
                                             static_cast<std::uint8_t>(i)});
    std::stable_sort(m_candidates.begin() + m_cellStart[cell], m_candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.cellDistance < b.cellDistance; });
    m_cellCount[cell] = static_cast<std::uint16_t>(m_candidates.size() - m_cellStart[cell]);
}

int GifNearestColour::Find(unsigned char red, unsigned char green, unsigned char blue)
{
    if (m_palette.empty())
        return -1;
    const int cell = ((red >> kCellBits) * kCellsPerSide + (green >> kCellBits)) * kCellsPerSide + (blue >> kCellBits);
    if (m_cellStart[cell] < 0)
        BuildCell(cell, red, green, blue);
    const Candidate* candidate = m_candidates.data() + m_cellStart[cell];
    const Candidate* end = candidate + m_cellCount[cell];
    int best = INT_MAX;
    int bestIndex = -1;
    // No colour of the cell is nearer to an entry than the cell itself: the
    // entries after one farther from the cell than the best found are farther
    // still. Among equally close entries the lowest index wins.
    for (; candidate != end && candidate->cellDistance <= best; ++candidate) {
        const int distance =
            Square(candidate->red - red) + Square(candidate->green - green) + Square(candidate->blue - blue);
        if (distance < best || (distance == best && candidate->index < bestIndex)) {
            best = distance;
            bestIndex = candidate->index;
        }
    }
    return bestIndex;
}
