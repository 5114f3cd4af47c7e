#pragma once

#include "decode/picture_loader.h"

#include <cstddef>

// A GIF file yields at most this many screen pixels in all its frames
// together, and its frames may hold at most this many pixels in total to be
// decoded; what comes after is dropped. Keeps a small file that declares a
// large screen and many frames from taking gigabytes or minutes.
constexpr long long kMaxGifFilePixels = 3 * kMaxPicturePixels;
// A larger file may use this many pixels per byte of it instead: long GIFs
// (ten thousand frames of a screen recording) come whole, while the work
// stays proportional to what the file holds.
constexpr long long kGifPixelsPerFileByte = 4096;

// Frames after this many are dropped.
constexpr int kMaxGifFrames = 100000;

// Decodes the GIF file held in `data`: every frame when `wantedFrame` is -1,
// otherwise only frame `wantedFrame` (the frames before it are still painted,
// since it shows their result). Each picture is the logical screen after that
// frame. A screen or frame over kMaxPicturePixels yields nothing more. A frame
// whose pixel data is damaged or short shows the rows that decoded (or is
// skipped when none did) and the frames after it follow; where the file
// itself ends, decoding ends. Frame numbers count every frame of the file.
// Returns the number of pictures delivered.
int DecodeGifPictures(const unsigned char* data, size_t size, int wantedFrame, const PictureSink& sink);
