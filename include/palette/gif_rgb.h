#pragma once

// One colour table entry as the GIF format stores it.
struct GifRgb {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

// The GIF format allows at most 256 colours in a table (8 bits per pixel).
constexpr int kGifMaxColours = 256;
