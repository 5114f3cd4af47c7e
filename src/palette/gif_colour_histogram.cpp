#include "palette/gif_colour_histogram.h"

namespace {

constexpr std::size_t kInitialSlots = std::size_t(1) << 16;
// From this many pixels a table of every possible colour (64 MB) costs less
// than a colour position per pixel.
constexpr std::size_t kRgbColours = std::size_t(1) << 24;
constexpr std::size_t kDenseFromPixels = kRgbColours;

std::uint32_t RgbAt(const unsigned char* rgb)
{
    return (std::uint32_t(rgb[0]) << 16) | (std::uint32_t(rgb[1]) << 8) | rgb[2];
}

std::size_t Hash(std::uint32_t rgb)
{
    return std::size_t(rgb * 2654435761u);
}

} // namespace

GifColourHistogram::GifColourHistogram(const wxImage& image)
{
    const std::size_t pixels = std::size_t(image.GetWidth()) * image.GetHeight();
    const unsigned char* rgb = image.GetData();
    if (pixels >= kDenseFromPixels) {
        CountDense(rgb, pixels);
        return;
    }
    m_slots.assign(kInitialSlots, Slot{0, 0});
    m_mask = kInitialSlots - 1;
    m_pixelColours.resize(pixels);
    std::uint32_t lastRgb = 0;
    std::uint32_t lastPosition = 0;
    bool haveLast = false;
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3) {
        const std::uint32_t key = RgbAt(rgb);
        if (!haveLast || key != lastRgb) {
            Slot& slot = m_slots[SlotOf(key)];
            if (slot.position == 0) {
                m_colours.push_back({key, 0, 0});
                slot = {key, std::uint32_t(m_colours.size())};
                lastPosition = slot.position - 1;
                // Keep the table at most half full.
                if (m_colours.size() * 2 > m_slots.size())
                    Grow();
            } else {
                lastPosition = slot.position - 1;
            }
            lastRgb = key;
            haveLast = true;
        }
        ++m_colours[lastPosition].count;
        m_pixelColours[i] = lastPosition;
    }
}

void GifColourHistogram::CountDense(const unsigned char* rgb, std::size_t pixels)
{
    m_rgb = rgb;
    m_pixels = pixels;
    m_dense.assign(kRgbColours, 0);
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3) {
        std::uint32_t& position = m_dense[RgbAt(rgb)];
        if (position == 0) {
            m_colours.push_back({RgbAt(rgb), 0, 0});
            position = std::uint32_t(m_colours.size());
        }
        ++m_colours[position - 1].count;
    }
}

std::size_t GifColourHistogram::SlotOf(std::uint32_t rgb) const
{
    std::size_t slot = Hash(rgb) & m_mask;
    while (m_slots[slot].position != 0 && m_slots[slot].rgb != rgb)
        slot = (slot + 1) & m_mask;
    return slot;
}

void GifColourHistogram::Grow()
{
    m_slots.assign(m_slots.size() * 2, Slot{0, 0});
    m_mask = m_slots.size() - 1;
    for (std::size_t i = 0; i < m_colours.size(); ++i)
        m_slots[SlotOf(m_colours[i].rgb)] = {m_colours[i].rgb, std::uint32_t(i + 1)};
}

void GifColourHistogram::IndexPixels(std::uint8_t* indices) const
{
    if (m_rgb) {
        for (std::size_t i = 0; i < m_pixels; ++i)
            indices[i] = m_colours[m_dense[RgbAt(m_rgb + i * 3)] - 1].index;
        return;
    }
    for (std::size_t i = 0; i < m_pixelColours.size(); ++i)
        indices[i] = m_colours[m_pixelColours[i]].index;
}
