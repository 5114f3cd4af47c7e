#include "clip_decoder.h"
#include "ffmpeg_module.h"

extern "C" __attribute__((visibility("default"))) ClipReader* GifmakerOpenFfmpegClip(const char* file, wxString* why,
                                                                                      long long endMs)
{
    return ClipDecoder::Open(file, why, endMs).release();
}
