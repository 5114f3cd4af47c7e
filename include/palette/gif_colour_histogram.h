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
    void IndexPixels(std::uint8_t* indices) const;

private:
    struct Slot {
        std::uint32_t rgb;
        std::uint32_t position; // in m_colours, + 1; 0 marks a free slot
    };

    std::size_t SlotOf(std::uint32_t rgb) const;
    void Grow();

    std::vector<Colour> m_colours;
    std::vector<Slot> m_slots; // open addressing
    std::size_t m_mask = 0;
    std::vector<std::uint32_t> m_pixelColours; // each pixel's position in m_colours
};
