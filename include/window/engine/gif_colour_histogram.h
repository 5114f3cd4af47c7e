#pragma once

#include <wx/image.h>

#include <cstdint>
#include <vector>

// The distinct colours of an image with how often each occurs, and a slot per
// colour for the palette index it is given.
class GifColourHistogram {
public:
    struct Colour {
        std::uint32_t rgb; // 0xRRGGBB
        std::uint32_t count;
        std::uint8_t index;
    };

    explicit GifColourHistogram(const wxImage& image);

    std::vector<Colour>& Colours() { return m_colours; }
    const std::vector<Colour>& Colours() const { return m_colours; }

    // The palette index given to each pixel's colour, row by row.
    void IndexPixels(const wxImage& image, std::uint8_t* indices) const;

private:
    std::size_t SlotOf(std::uint32_t rgb) const;
    void Grow();

    std::vector<Colour> m_colours;
    // Open addressing over positions in m_colours (+1; 0 marks a free slot).
    std::vector<std::uint32_t> m_slots;
    std::size_t m_mask = 0;
};
