#include "clip_reader.h"

#include "clip_sniff.h"
#include "ffmpeg_module.h"
#include "webp_reader.h"

#include <cstdio>

bool LooksLikeClipFile(const unsigned char* data, std::size_t size)
{
    return ClipDemuxerName(data, size) != nullptr || LooksLikeAnimatedWebP(data, size);
}

std::unique_ptr<ClipReader> OpenClipReader(const std::string& file, wxString* why, long long endMs)
{
    wxString reason;
    why = why ? why : &reason;
    unsigned char head[kClipSniffBytes];
    std::FILE* f = std::fopen(file.c_str(), "rb");
    const std::size_t got = f ? std::fread(head, 1, sizeof head, f) : 0;
    if (f)
        std::fclose(f);
    if (LooksLikeAnimatedWebP(head, got))
        return OpenWebPReader(file, why);
    return OpenFfmpegClip(file, why, endMs);
}
