#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The smallest LZW minimum code size the GIF format allows for a table of
// `count` entries (2 to 8).
int GifLzwMinimumCodeSize(int count);

// Compresses `count` colour indices, each below 2^minimumCodeSize, as the
// table-based image data of a GIF file and appends it to `out`: the minimum
// code size byte, the data sub-blocks and the block terminator. Needs no
// shared state, so frames can be compressed on several threads at once.
void GifLzwCompress(const std::uint8_t* indices, std::size_t count, int minimumCodeSize,
                    std::vector<std::uint8_t>& out);
