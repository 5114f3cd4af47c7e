#include "clip_sniff.h"

#include <cstring>
#include <initializer_list>

namespace {

bool BoxTypeIs(const unsigned char* data, const char* type)
{
    return std::memcmp(data + 4, type, 4) == 0;
}

// Still-picture files in the ISO box format (HEIF, AVIF) by their brand.
bool IsStillPictureBrand(const unsigned char* brand)
{
    static const char* const kStill[] = {"heic", "heix", "mif1", "msf1", "avif", "avis", "hevc", "hevx"};
    for (const char* still : kStill)
        if (std::memcmp(brand, still, 4) == 0)
            return true;
    return false;
}

} // namespace

const char* ClipDemuxerName(const unsigned char* data, std::size_t size)
{
    if (size < 16)
        return nullptr;
    static const unsigned char kEbml[] = {0x1A, 0x45, 0xDF, 0xA3};
    if (std::memcmp(data, kEbml, sizeof kEbml) == 0)
        return "matroska";
    if (BoxTypeIs(data, "ftyp"))
        return IsStillPictureBrand(data + 8) ? nullptr : "mov";
    // QuickTime files from before the ftyp box begin with one of these.
    for (const char* type : {"moov", "mdat", "wide", "free", "skip", "pnot"})
        if (BoxTypeIs(data, type))
            return "mov";
    return nullptr;
}
