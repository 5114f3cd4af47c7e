#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// How many whole RGB pixels from the start of `a` and `b` (at most `count`)
// are the same, compared eight bytes at a time. With `a` one pixel after `b`
// it is how many pixels repeat the one before them: flat areas are skipped
// without a look at each pixel.
inline std::size_t GifSamePixels(const std::uint8_t* a, const std::uint8_t* b, std::size_t count)
{
    const std::size_t bytes = count * 3;
    std::size_t at = 0;
    for (; at + 8 <= bytes; at += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + at, 8);
        std::memcpy(&y, b + at, 8);
        if (x != y)
            break;
    }
    while (at < bytes && a[at] == b[at])
        ++at;
    return at / 3;
}
