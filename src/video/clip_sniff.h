#pragma once

#include <cstddef>

// The libavformat demuxer for a clip's first kClipSniffBytes ("mov" or
// "matroska"), or null when they are not a container clips are read from.
const char* ClipDemuxerName(const unsigned char* data, std::size_t size);
