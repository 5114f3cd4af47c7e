#pragma once

// What the GIF89a format itself fixes, for every part of the program that
// reads, writes or edits GIF values.

// One colour table entry as the format stores it.
struct GifRgb {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

// At most 256 colours in a table (8 bits per pixel).
constexpr int kGifMaxColours = 256;

// Sizes, positions, delays and the loop count are 16-bit fields.
constexpr int kGifMaxField = 0xFFFF;
