#include "decode/gif_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
constexpr uint8_t kOpaque = 255;
constexpr int kRgbBytes = 3;
} // namespace

GifCanvas::GifCanvas(int width, int height)
    : m_width(width)
    , m_height(height)
    , m_rgb(static_cast<size_t>(width) * height * kRgbBytes)
    , m_alpha(static_cast<size_t>(width) * height)
{
}

GifCanvas::Rect GifCanvas::Clip(const Rect& r) const
{
    const long long left = std::max<long long>(r.left, 0);
    const long long top = std::max<long long>(r.top, 0);
    const long long right = std::min<long long>(static_cast<long long>(r.left) + r.width, m_width);
    const long long bottom = std::min<long long>(static_cast<long long>(r.top) + r.height, m_height);
    Rect clipped;
    if (right > left && bottom > top) {
        clipped.left = static_cast<int>(left);
        clipped.top = static_cast<int>(top);
        clipped.width = static_cast<int>(right - left);
        clipped.height = static_cast<int>(bottom - top);
    }
    return clipped;
}

void GifCanvas::SaveArea(const Rect& area)
{
    const size_t count = static_cast<size_t>(area.width) * area.height;
    m_savedRgb.resize(count * kRgbBytes);
    m_savedAlpha.resize(count);
    for (int y = 0; y < area.height; ++y) {
        const size_t from = static_cast<size_t>(area.top + y) * m_width + area.left;
        const size_t to = static_cast<size_t>(y) * area.width;
        std::memcpy(&m_savedRgb[to * kRgbBytes], &m_rgb[from * kRgbBytes], static_cast<size_t>(area.width) * kRgbBytes);
        std::memcpy(&m_savedAlpha[to], &m_alpha[from], area.width);
    }
}

void GifCanvas::RestoreArea()
{
    const Rect& area = m_visible;
    for (int y = 0; y < area.height; ++y) {
        const size_t to = static_cast<size_t>(area.top + y) * m_width + area.left;
        const size_t from = static_cast<size_t>(y) * area.width;
        std::memcpy(&m_rgb[to * kRgbBytes], &m_savedRgb[from * kRgbBytes], static_cast<size_t>(area.width) * kRgbBytes);
        std::memcpy(&m_alpha[to], &m_savedAlpha[from], area.width);
    }
}

void GifCanvas::ClearArea(const Rect& area)
{
    // Viewers restore "background" as transparent rather than with the
    // screen's background colour.
    for (int y = 0; y < area.height; ++y) {
        const size_t at = static_cast<size_t>(area.top + y) * m_width + area.left;
        std::memset(&m_rgb[at * kRgbBytes], 0, static_cast<size_t>(area.width) * kRgbBytes);
        std::memset(&m_alpha[at], 0, area.width);
    }
}

void GifCanvas::BeginFrame(const Rect& frame, int disposal)
{
    if (m_disposal == kDisposalBackground)
        ClearArea(m_visible);
    else if (m_disposal == kDisposalPrevious)
        RestoreArea();

    m_frame = frame;
    m_visible = Clip(frame);
    m_disposal = disposal;
    if (m_disposal == kDisposalPrevious)
        SaveArea(m_visible);
}

void GifCanvas::PaintRow(int row, const uint8_t* indices, const uint8_t* colours, int colourCount, int transparent)
{
    const long long y = static_cast<long long>(m_frame.top) + row;
    if (y < m_visible.top || y >= static_cast<long long>(m_visible.top) + m_visible.height)
        return;
    const int skip = m_visible.left - m_frame.left; // frame columns left of the screen
    const size_t at = static_cast<size_t>(y) * m_width + m_visible.left;
    uint8_t* rgb = &m_rgb[at * kRgbBytes];
    uint8_t* alpha = &m_alpha[at];
    for (int x = 0; x < m_visible.width; ++x) {
        const int index = indices[skip + x];
        if (index == transparent)
            continue;
        if (!colours) {
            rgb[x * kRgbBytes] = rgb[x * kRgbBytes + 1] = rgb[x * kRgbBytes + 2] = static_cast<uint8_t>(index);
        } else if (index < colourCount) {
            std::memcpy(&rgb[x * kRgbBytes], &colours[index * kRgbBytes], kRgbBytes);
        } else {
            // An index past the colour table reads as black, as in common viewers.
            std::memset(&rgb[x * kRgbBytes], 0, kRgbBytes);
        }
        alpha[x] = kOpaque;
    }
}

wxImage GifCanvas::Snapshot() const
{
    const size_t count = static_cast<size_t>(m_width) * m_height;
    auto* rgb = static_cast<unsigned char*>(std::malloc(count * kRgbBytes));
    if (!rgb)
        return wxImage();
    std::memcpy(rgb, m_rgb.data(), count * kRgbBytes);
    wxImage picture(m_width, m_height, rgb); // takes over the buffer
    const bool opaque = std::all_of(m_alpha.begin(), m_alpha.end(), [](uint8_t a) { return a == kOpaque; });
    if (!opaque) {
        auto* alpha = static_cast<unsigned char*>(std::malloc(count));
        if (!alpha)
            return wxImage();
        std::memcpy(alpha, m_alpha.data(), count);
        picture.SetAlpha(alpha); // takes over the buffer
    }
    return picture;
}
