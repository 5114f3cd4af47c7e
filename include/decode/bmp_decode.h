#pragma once

#include "decode/picture_loader.h"

#include <cstddef>

// Reads the Windows or OS/2 bitmap held in `data` with bounds checks on every
// header field, palette index, bit field and RLE code: 1, 2, 4, 8, 16, 24 and
// 32 bits per pixel, uncompressed, RLE4, RLE8 and bit fields. Pixels an RLE
// stream leaves out are black. Refuses (yields nothing) embedded JPEG or
// PNG, OS/2 Huffman and RLE24 compression, 64-bit pixels, sizes over
// kMaxPicturePixels and uncompressed pixel data cut short.
// Returns the number of pictures delivered (0 or 1).
int DecodeBmpPicture(const unsigned char* data, size_t size, const PictureSink& sink);
