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

    // `image` must outlive the histogram. Pixels marked in `skip` (one per
    // pixel, nonzero to skip) are not counted, and IndexPixels gives them
    // index 0.
    explicit GifColourHistogram(const wxImage& image, const std::uint8_t* skip = nullptr);

    std::vector<Colour>& Colours() { return m_colours; }
    const std::vector<Colour>& Colours() const { return m_colours; }

    // The palette index given to each pixel's colour, row by row.
    void IndexPixels(std::uint8_t* indices) const;

private:
    struct Slot {
        std::uint32_t rgb;
        std::uint32_t position; // in m_colours, + 1; 0 marks a free slot
        std::uint32_t count;
    };

    std::size_t SlotOf(std::uint32_t rgb) const;
    // An empty table of slots; the counts copied to the colours and the table freed.
    void StartCounting();
    void FinishCounting();
    // The colour's slot, a new colour added first.
    Slot& SlotFor(std::uint32_t rgb);
    void Grow();

    void CountDense(const unsigned char* rgb, std::size_t pixels);
    void CountUnskipped(const unsigned char* rgb, std::size_t pixels, const std::uint8_t* skip);

    std::vector<Colour> m_colours;
    std::vector<Slot> m_slots; // open addressing, while counting
    std::size_t m_mask = 0;
    int m_shift = 0; // 32 - log2 of the slot count
    std::vector<std::uint32_t> m_pixelColours; // each pixel's position in m_colours
    const std::uint8_t* m_skip = nullptr;
    // Pictures of many pixels: each colour's position in m_colours + 1, by
    // 0xRRGGBB, and the pixels read again to index them (instead of four
    // bytes per pixel held).
    std::vector<std::uint32_t> m_dense;
    const unsigned char* m_rgb = nullptr;
    std::size_t m_pixels = 0;
};
