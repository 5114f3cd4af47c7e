#pragma once

#include "format/gif_format.h"
#include "palette/gif_colour_index.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <cstdint>
#include <vector>

// The smallest LZW minimum code size the GIF format allows for a table of
// `count` entries (2 to 8).
int GifLzwMinimumCodeSize(int count);

// What lossy compression may write instead of a pixel's index, where that
// continues the string being matched (lossy LZW): another index whose colour
// is close to the pixel's, or the transparent index where what shows through
// it is close. Pixels that must keep their exact colour only trade the
// transparent index for an index of the colour that shows through, and back:
// with a distance of 0 what the viewer shows does not change.
struct GifLzwLossy {
    // For each table index, the other indices of colours within the allowed
    // distance, nearest first.
    std::vector<std::vector<std::uint8_t>> near;
    std::vector<GifRgb> table;
    std::optional<GifColourIndex> exact; // finds the table index of a colour
    int maxSquaredDistance = 0;
    int mask = -1;                         // transparent index, -1 for none
    const std::uint8_t* under = nullptr;   // per pixel, the RGB shown through the mask
    // Per pixel, bit 0 set where the colour may change; null: every pixel may.
    const std::uint8_t* loose = nullptr;
};

// The lossy choices for `table` with colours at most `maxDistance` apart
// (Euclidean, in RGB units); the mask index is never a near colour.
GifLzwLossy GifLzwLossyFor(const std::vector<GifRgb>& table, int mask, double maxDistance);

// Compresses `count` colour indices, each below 2^minimumCodeSize, as the
// table-based image data of a GIF file and appends it to `out`: the minimum
// code size byte, the data sub-blocks and the block terminator. Needs no
// shared state, so frames can be compressed on several threads at once.
void GifLzwCompress(const std::uint8_t* indices, std::size_t count, int minimumCodeSize,
                    std::vector<std::uint8_t>& out);

// GifLzwCompress, changing indices where `lossy` allows and that continues
// a string; `indices` then holds what was written.
void GifLzwCompressLossy(std::uint8_t* indices, std::size_t count, int minimumCodeSize, const GifLzwLossy& lossy,
                         std::vector<std::uint8_t>& out);

// Takes the finished part of the image data: `bytes` holds whole sub-blocks,
// and the taker may move them out.
using GifLzwSink = std::function<void(std::vector<std::uint8_t>& bytes)>;

// GifLzwCompressLossy, handing the data to `sink` in parts of about
// `partBytes` as it is made, so that a large frame's data is not held whole.
void GifLzwCompressLossyInParts(std::uint8_t* indices, std::size_t count, int minimumCodeSize,
                                const GifLzwLossy& lossy, std::size_t partBytes, const GifLzwSink& sink);
