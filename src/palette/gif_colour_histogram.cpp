#include "palette/gif_colour_histogram.h"

#include "palette/gif_same_pixels.h"

#include <algorithm>

namespace {

constexpr int kInitialSlotBits = 16;
// Slots are looked up this many pixels ahead of their use, so that the
// memory is on its way while the pixels between are counted: a photo's
// colours fill megabytes of table, read in no order.
constexpr std::size_t kPrefetchPixels = 16;
// From this many pixels a table of every possible colour (64 MB) costs less
// than a colour position per pixel.
constexpr std::size_t kRgbColours = std::size_t(1) << 24;
constexpr std::size_t kDenseFromPixels = kRgbColours;

std::uint32_t RgbAt(const unsigned char* rgb)
{
    return (std::uint32_t(rgb[0]) << 16) | (std::uint32_t(rgb[1]) << 8) | rgb[2];
}

// Fibonacci hashing: the product's top bits depend on every bit of the
// colour (its low bits only on the colour's low bits).
std::size_t Hash(std::uint32_t rgb, int shift)
{
    return std::size_t((rgb * 2654435761u) >> shift);
}

} // namespace

GifColourHistogram::GifColourHistogram(const wxImage& image, const std::uint8_t* skip)
{
    const std::size_t pixels = std::size_t(image.GetWidth()) * image.GetHeight();
    const unsigned char* rgb = image.GetData();
    if (skip) {
        CountUnskipped(rgb, pixels, skip);
        return;
    }
    if (pixels >= kDenseFromPixels) {
        CountDense(rgb, pixels);
        return;
    }
    StartCounting();
    m_pixelColours.resize(pixels);
    // Counted in the slots, which the look-ahead brought near, and copied to
    // the colours at the end: the colours' own counts would be one more read
    // from anywhere in megabytes per pixel.
    Slot* last = nullptr;
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3) {
        if (i + kPrefetchPixels < pixels)
            __builtin_prefetch(&m_slots[Hash(RgbAt(rgb + 3 * kPrefetchPixels), m_shift)]);
        const std::uint32_t key = RgbAt(rgb);
        if (last == nullptr || key != last->rgb) {
            last = &SlotFor(key);
        } else {
            // A second pixel of one colour in a row: the rest of the run
            // (a flat area) at once.
            const std::size_t more = GifSamePixels(rgb + 3, rgb, pixels - i - 1);
            last->count += std::uint32_t(more);
            std::fill_n(&m_pixelColours[i], more, last->position - 1);
            i += more;
            rgb += 3 * more;
        }
        ++last->count;
        m_pixelColours[i] = last->position - 1;
    }
    FinishCounting();
}

void GifColourHistogram::CountUnskipped(const unsigned char* rgb, std::size_t pixels, const std::uint8_t* skip)
{
    m_skip = skip;
    StartCounting();
    m_pixelColours.resize(pixels);
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3) {
        if (skip[i])
            continue;
        Slot& slot = SlotFor(RgbAt(rgb));
        ++slot.count;
        m_pixelColours[i] = slot.position - 1;
    }
    FinishCounting();
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
    std::size_t slot = Hash(rgb, m_shift);
    while (m_slots[slot].position != 0 && m_slots[slot].rgb != rgb)
        slot = (slot + 1) & m_mask;
    return slot;
}

void GifColourHistogram::StartCounting()
{
    m_slots.assign(std::size_t(1) << kInitialSlotBits, Slot{0, 0, 0});
    m_mask = m_slots.size() - 1;
    m_shift = 32 - kInitialSlotBits;
}

void GifColourHistogram::FinishCounting()
{
    for (const Slot& slot : m_slots)
        if (slot.position != 0)
            m_colours[slot.position - 1].count = slot.count;
    // Not needed after counting.
    m_slots = std::vector<Slot>();
}

GifColourHistogram::Slot& GifColourHistogram::SlotFor(std::uint32_t rgb)
{
    Slot* slot = &m_slots[SlotOf(rgb)];
    if (slot->position == 0) {
        m_colours.push_back({rgb, 0, 0});
        *slot = {rgb, std::uint32_t(m_colours.size()), 0};
        // Keep the table at most three quarters full.
        if (m_colours.size() * 4 > m_slots.size() * 3) {
            Grow();
            slot = &m_slots[SlotOf(rgb)];
        }
    }
    return *slot;
}

void GifColourHistogram::Grow()
{
    std::vector<Slot> old(m_slots.size() * 2, Slot{0, 0, 0});
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    --m_shift;
    for (const Slot& slot : old)
        if (slot.position != 0)
            m_slots[SlotOf(slot.rgb)] = slot;
}

void GifColourHistogram::IndexPixels(std::uint8_t* indices) const
{
    if (m_rgb) {
        for (std::size_t i = 0; i < m_pixels; ++i)
            indices[i] = m_colours[m_dense[RgbAt(m_rgb + i * 3)] - 1].index;
        return;
    }
    for (std::size_t i = 0; i < m_pixelColours.size(); ++i)
        indices[i] = m_skip && m_skip[i] ? 0 : m_colours[m_pixelColours[i]].index;
}
