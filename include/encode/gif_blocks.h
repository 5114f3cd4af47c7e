#pragma once

#include "format/gif_format.h"

#include <wx/stream.h>
#include <wx/string.h>

#include <cstddef>

// Every block writer below writes to this stream. The save pipeline sets it
// before the first frame; only one animation is written at a time. A
// process-wide stream because the toolkit's GIF handler, whose LZW compressor
// the frame writer reuses, offers no way to pass one through.
extern wxOutputStream* CurrentGifStream;

// Writes `size` bytes to CurrentGifStream; false when the stream is missing or
// took fewer bytes.
bool GifWriteBytes(const void* data, std::size_t size);

// The smallest bits per pixel (1 to 8) whose table holds `count` entries.
int GifBitsPerPixel(int count);

// The GIF89a signature, the logical screen descriptor, the global colour
// table and the endless-loop extension.
bool GifWriteHeader(int width, int height, const GifRgb* table, int count);

// 2^bpp entries: the table's `count` entries, then black.
bool GifWriteColourTable(const GifRgb* table, int count, int bpp);

// The NETSCAPE2.0 application extension with loop count 0 (for ever).
bool GifWriteLoopExtension();

// The graphic control extension: transparency when `maskIndex` is not -1,
// the delay converted to hundredths of a second.
bool GifWriteControl(int maskIndex, int delayMilliSecs);

// The image position (always 0,0) and size of the image descriptor.
bool GifWriteRect(int width, int height);

// A comment extension in 255-byte sub-blocks; nothing for an empty text.
bool GifWriteComment(const wxString& text);
