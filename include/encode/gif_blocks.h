#pragma once

#include "format/gif_format.h"

#include <wx/stream.h>
#include <wx/string.h>

#include <cstddef>

// Every block writer below writes to this stream. The save pipeline sets it
// before the first frame, on the thread that writes. One per thread, so that
// a save and a size estimate can run at the same time; not passed through
// because the toolkit's GIF handler, whose LZW compressor the frame writer
// reuses, offers no way to.
extern thread_local wxOutputStream* CurrentGifStream;

// Writes `size` bytes to CurrentGifStream; false when the stream is missing or
// took fewer bytes.
bool GifWriteBytes(const void* data, std::size_t size);

// The smallest bits per pixel (1 to 8) whose table holds `count` entries.
int GifBitsPerPixel(int count);

// Times an animation may be asked to play: the loop extension counts the
// passes after the first in 16 bits.
constexpr int kGifMaxPlays = kGifMaxField + 1;

// The loop extension's count that makes viewers play an animation `plays`
// times, 0 meaning for ever; -1 when the file must carry no loop extension.
// Browsers (Chromium, Firefox, WebKit) and Pillow's loop value count the
// passes after the first, and a file without the extension plays once;
// 0 repeats for ever everywhere.
int GifLoopField(int plays);

// The GIF89a signature, the logical screen descriptor, the global colour
// table and the loop extension for `plays` passes (0 = for ever).
bool GifWriteHeader(int width, int height, const GifRgb* table, int count, int plays = 0);

// 2^bpp entries: the table's `count` entries, then black.
bool GifWriteColourTable(const GifRgb* table, int count, int bpp);

// The NETSCAPE2.0 application extension with the given loop count field.
bool GifWriteLoopExtension(int field = 0);

// The graphic control extension: transparency when `maskIndex` is not -1,
// the delay converted to hundredths of a second; `keepPrevious` asks the
// viewer to leave the frame in place when the next one comes (disposal 1),
// so that the next frame need only cover what changes.
bool GifWriteControl(int maskIndex, int delayMilliSecs, bool keepPrevious = false);

// The image position and size of the image descriptor.
bool GifWriteRect(int width, int height, int left = 0, int top = 0);

// The image descriptor of a frame covering width x height at (left, top),
// followed by its local colour table when `localTable` is given (`count`
// entries, padded to a power of two).
bool GifWriteImageDescriptor(int left, int top, int width, int height, const GifRgb* localTable, int count);

// The byte that ends the file.
bool GifWriteTrailer();

// A comment extension in 255-byte sub-blocks; nothing for an empty text.
bool GifWriteComment(const wxString& text);
