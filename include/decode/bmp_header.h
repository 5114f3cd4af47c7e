#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// BMP compression codes (biCompression).
constexpr uint32_t kBmpRgb = 0;
constexpr uint32_t kBmpRle8 = 1;
constexpr uint32_t kBmpRle4 = 2;
constexpr uint32_t kBmpBitFields = 3;
constexpr uint32_t kBmpAlphaBitFields = 6;

struct BmpColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// What the headers of a BMP file say, checked for consistency: a size within
// kMaxPicturePixels, a supported depth and compression, the masks to use.
struct BmpHeader {
    long long width = 0;
    long long height = 0; // always positive; see topDown
    bool topDown = false;
    int bitsPerPixel = 0;
    uint32_t compression = kBmpRgb;
    size_t pixelOffset = 0;
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
    uint32_t alphaMask = 0;
    bool hasAlpha = false;
    std::vector<BmpColour> palette; // at most 2^bitsPerPixel entries
};

// False when the file is not a BMP this program reads.
bool ReadBmpHeader(const unsigned char* data, size_t size, BmpHeader& out);
