#pragma once

#include "format/gif_format.h"

#include <cstdint>
#include <vector>

// Finds the palette entry closest to a colour (squared RGB distance; among
// equally close entries the lowest index). The colour cube is cut into cells;
// the first search in a cell lists the few entries that can be nearest to any
// colour inside it, later searches there look at those alone, nearest to the
// cell first.
class GifNearestColour {
public:
    GifNearestColour(const GifRgb* palette, int count);

    int Find(unsigned char red, unsigned char green, unsigned char blue);

    static constexpr int kCellBits = 4; // cells of 16 x 16 x 16 colours

private:
    static constexpr int kCellsPerSide = 256 >> kCellBits;

    void BuildCell(int cell, int red, int green, int blue);

    std::vector<GifRgb> m_palette;
    // Per cell: where its candidates start in m_candidates (-1 before its
    // first search) and how many there are.
    std::vector<std::int32_t> m_cellStart;
    std::vector<std::uint16_t> m_cellCount;
    // A cell's candidates go nearest to the cell first, so that a search
    // stops at the first one that cannot beat the best found.
    struct Candidate {
        int cellDistance; // squared distance from the entry to the cell
        std::uint8_t red, green, blue, index;
    };
    std::vector<Candidate> m_candidates;
    std::vector<int> m_nearestScratch;
    // Per axis, per cell position along it and per entry: the squared
    // distance from the entry to the nearest and farthest value of the cell.
    std::vector<int> m_axisNear[3];
    std::vector<int> m_axisFar[3];
};
