#pragma once

#include "clip_reader.h"

#include <memory>
#include <string>

// FFmpeg's decoder is a module of its own, lib/gifmaker-ffmpeg.so beside the
// program's bin/, loaded when the first clip is opened: FFmpeg's libraries
// and the ones they pull in are half of what the programs would otherwise
// load at every start, and most runs open no clip.

// The module's one entry point: the reader for `file`, owned by the caller,
// or null with the reason in `why` (never null).
extern "C" ClipReader* GifmakerOpenFfmpegClip(const char* file, wxString* why, long long endMs);

// The reader through the module, loading it on first use; null with the
// reason in `why` (never null) when the clip or the module is refused.
std::unique_ptr<ClipReader> OpenFfmpegClip(const std::string& file, wxString* why, long long endMs);
