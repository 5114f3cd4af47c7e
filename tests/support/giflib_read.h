#pragma once

// A GIF read back through giflib, a decoder independent of the program's own
// writer and of the toolkit's reader.

#include "file_bytes.h"

#include <wx/string.h>

#include <cstdint>
#include <vector>

// One frame as giflib reads it: its place, size, delay and the RGB of every
// pixel.
struct GiflibFrame {
    int left = 0, top = 0, width = 0, height = 0;
    int delayCs = -1;
    int transparentIndex = -1;
    int disposal = 0;
    bool localTable = false;
    std::vector<std::uint8_t> indices;
    std::vector<std::uint8_t> rgb;
};

struct GiflibFile {
    bool ok = false;
    int screenWidth = 0, screenHeight = 0;
    int loopCount = -1; // -1 when there is no NETSCAPE2.0 extension
    std::vector<GiflibFrame> frames;

    int FrameCount() const { return static_cast<int>(frames.size()); }
    // Every frame's delay in hundredths of a second, in order.
    std::vector<int> Delays() const;
};

GiflibFile DecodeWithGiflib(const Bytes& bytes);

// What a viewer shows after each frame, as RGB of the screen size: frames
// painted over each other, transparent pixels leaving what was there. Only
// the disposal methods "none" and "keep" are expected; others give no frames.
std::vector<Bytes> ComposeGiflibFrames(const GiflibFile& file);
GiflibFile DecodeGifFile(const wxString& path);
