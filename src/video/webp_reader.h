#pragma once

#include "clip_reader.h"

// True for the first bytes of a WebP file marked as an animation.
bool LooksLikeAnimatedWebP(const unsigned char* data, std::size_t size);

// An animated WebP as a clip, decoded with libwebp (Debian 12's FFmpeg has no
// decoder for it); null when refused, with the reason in `why`.
std::unique_ptr<ClipReader> OpenWebPReader(const std::string& file, wxString* why);
