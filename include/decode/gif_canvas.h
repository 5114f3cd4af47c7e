#pragma once

#include <wx/image.h>

#include <cstdint>
#include <vector>

// The logical screen of an animated GIF: each frame is painted over what the
// previous frames left, after their disposal, as a viewer shows it. Pixels no
// frame has painted are transparent.
class GifCanvas {
public:
    struct Rect {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
    };

    // The GIF format's disposal methods (graphic control extension).
    enum Disposal { kDisposalNone = 0, kDisposalKeep = 1, kDisposalBackground = 2, kDisposalPrevious = 3 };

    // Throws std::bad_alloc when the screen cannot be allocated.
    GifCanvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Starts a frame at `frame` (screen coordinates, may reach outside) with its
    // disposal method, after disposing of the previous frame.
    void BeginFrame(const Rect& frame, int disposal);

    // Paints row `row` (0 = the frame's top) of the current frame from colour
    // indices. `colours` holds `colourCount` RGB triples, or is null when the
    // file has no colour table at all (indices then read as grey levels).
    // `transparent` is the transparent index or -1.
    void PaintRow(int row, const uint8_t* indices, const uint8_t* colours, int colourCount, int transparent);

    // A picture of the screen as it stands, owning its data alone; an alpha
    // channel only when some pixel is not opaque. Not ok when out of memory.
    wxImage Snapshot() const;

private:
    Rect Clip(const Rect& r) const;
    void SaveArea(const Rect& area);
    void RestoreArea();
    void ClearArea(const Rect& area);

    int m_width;
    int m_height;
    std::vector<uint8_t> m_rgb;
    std::vector<uint8_t> m_alpha;

    Rect m_frame;          // the current frame as placed
    Rect m_visible;        // its part inside the screen
    int m_disposal = kDisposalNone;
    std::vector<uint8_t> m_savedRgb; // the area under a frame that restores it
    std::vector<uint8_t> m_savedAlpha;
};
