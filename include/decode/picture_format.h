#pragma once

#include <cstddef>

// The picture formats the program reads, told apart by their first bytes.
// Anything else (TIFF, PCX, PNM, TGA, ICO, IFF, XPM, ANI, ...) is refused,
// so that no other decoder of the toolkit ever sees a user's file.
enum class PictureFormat { Unknown, Png, Jpeg, Bmp, Gif, WebP };

PictureFormat SniffPictureFormat(const unsigned char* data, size_t size);

// The width and height a header declares, before any pixel is decoded.
struct DeclaredSize {
    long long width = 0;
    long long height = 0;
};

// Each returns false when the header cannot be read far enough.
bool ReadPngSize(const unsigned char* data, size_t size, DeclaredSize& out);
// False when a PNG chunk claims more bytes than the file holds: the PNG
// library allocates a chunk's declared length before it reads the chunk, so a
// tiny file could otherwise make it ask for gigabytes.
bool PngChunksFitFile(const unsigned char* data, size_t size);
bool ReadGifScreenSize(const unsigned char* data, size_t size, DeclaredSize& out);

// A JPEG's frame header (SOF): size, and the memory its decoder needs for
// the coefficients of the whole picture when that is kept (progressive or
// multi-scan files).
struct JpegFrameInfo {
    DeclaredSize size;
    long long coefficientBytes = 0;
};
bool ReadJpegFrame(const unsigned char* data, size_t size, JpegFrameInfo& out);

// True when a picture of this size is neither empty nor too large to load.
bool IsAcceptablePictureSize(const DeclaredSize& size);
