#include "decode/picture_format.h"

#include "decode/picture_loader.h"
#include "decode/webp_decode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr size_t kPngIhdrWidthOffset = 16; // signature, chunk length, "IHDR"
constexpr size_t kPngIhdrHeightOffset = 20;

constexpr size_t kGifScreenWidthOffset = 6; // after "GIF87a" / "GIF89a"
constexpr size_t kGifScreenHeightOffset = 8;

// JPEG markers (ITU T.81, table B.1).
constexpr unsigned char kMarkerPrefix = 0xFF;
constexpr unsigned char kSoi = 0xD8;
constexpr unsigned char kEoi = 0xD9;
constexpr unsigned char kSos = 0xDA;
constexpr unsigned char kTem = 0x01;
constexpr unsigned char kRst0 = 0xD0;
constexpr unsigned char kRst7 = 0xD7;
constexpr unsigned char kSof0 = 0xC0;
constexpr unsigned char kSof15 = 0xCF;
constexpr unsigned char kDht = 0xC4;
constexpr unsigned char kJpg = 0xC8;
constexpr unsigned char kDac = 0xCC;
constexpr int kJpegBlockSide = 8;
constexpr int kJpegCoefficientBytes = 2; // one 16-bit value per coefficient

uint32_t BigEndian32(const unsigned char* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

unsigned BigEndian16(const unsigned char* p)
{
    return (unsigned(p[0]) << 8) | p[1];
}

unsigned LittleEndian16(const unsigned char* p)
{
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

long long CeilDiv(long long a, long long b)
{
    return (a + b - 1) / b;
}

bool ReadSof(const unsigned char* segment, size_t length, JpegFrameInfo& out)
{
    // precision, height, width, component count, then 3 bytes per component
    constexpr size_t kFixedPart = 6;
    constexpr size_t kComponentBytes = 3;
    if (length < kFixedPart)
        return false;
    out.size.height = BigEndian16(segment + 1);
    out.size.width = BigEndian16(segment + 3);
    const int components = segment[5];
    if (components == 0 || length < kFixedPart + components * kComponentBytes)
        return false;

    int maxH = 1;
    int maxV = 1;
    for (int c = 0; c < components; ++c) {
        const unsigned char sampling = segment[kFixedPart + c * kComponentBytes + 1];
        maxH = std::max(maxH, sampling >> 4);
        maxV = std::max(maxV, sampling & 0x0F);
    }
    long long bytes = 0;
    for (int c = 0; c < components; ++c) {
        const unsigned char sampling = segment[kFixedPart + c * kComponentBytes + 1];
        const int h = std::max(1, sampling >> 4);
        const int v = std::max(1, sampling & 0x0F);
        const long long blocksWide = CeilDiv(CeilDiv(out.size.width * h, maxH), kJpegBlockSide);
        const long long blocksHigh = CeilDiv(CeilDiv(out.size.height * v, maxV), kJpegBlockSide);
        bytes += blocksWide * blocksHigh * kJpegBlockSide * kJpegBlockSide * kJpegCoefficientBytes;
    }
    out.coefficientBytes = bytes;
    return true;
}

} // namespace

PictureFormat SniffPictureFormat(const unsigned char* data, size_t size)
{
    if (size >= sizeof kPngSignature && std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0)
        return PictureFormat::Png;
    if (size >= 3 && data[0] == kMarkerPrefix && data[1] == kSoi && data[2] == kMarkerPrefix)
        return PictureFormat::Jpeg;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
        return PictureFormat::Bmp;
    if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0))
        return PictureFormat::Gif;
    if (IsStillWebP(data, size))
        return PictureFormat::WebP;
    return PictureFormat::Unknown;
}

bool ReadPngSize(const unsigned char* data, size_t size, DeclaredSize& out)
{
    if (size < kPngIhdrHeightOffset + 4 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    out.width = BigEndian32(data + kPngIhdrWidthOffset);
    out.height = BigEndian32(data + kPngIhdrHeightOffset);
    return true;
}

bool PngChunksFitFile(const unsigned char* data, size_t size)
{
    // A PNG chunk: length, type, then the data and a CRC.
    constexpr size_t kChunkHeader = 8;
    constexpr size_t kChunkCrc = 4;
    size_t offset = sizeof kPngSignature;
    while (offset + kChunkHeader <= size) {
        const size_t length = BigEndian32(data + offset);
        const bool last = std::memcmp(data + offset + 4, "IEND", 4) == 0;
        if (length > size - offset - kChunkHeader)
            return false;
        offset += kChunkHeader + length;
        offset += std::min(kChunkCrc, size - offset);
        if (last)
            return true;
    }
    // A file that ends between chunks is left to the decoder, which stops at
    // the missing data without allocating for it.
    return true;
}

bool ReadGifScreenSize(const unsigned char* data, size_t size, DeclaredSize& out)
{
    if (size < kGifScreenHeightOffset + 2)
        return false;
    out.width = LittleEndian16(data + kGifScreenWidthOffset);
    out.height = LittleEndian16(data + kGifScreenHeightOffset);
    return true;
}

bool ReadJpegFrame(const unsigned char* data, size_t size, JpegFrameInfo& out)
{
    size_t at = 2; // after SOI
    while (at < size) {
        if (data[at] != kMarkerPrefix) {
            ++at; // stray byte between segments; decoders skip it too
            continue;
        }
        while (at < size && data[at] == kMarkerPrefix)
            ++at; // fill bytes
        if (at >= size)
            return false;
        const unsigned char marker = data[at++];
        if (marker == kSoi || marker == kTem || (marker >= kRst0 && marker <= kRst7))
            continue;
        if (marker == kEoi || marker == kSos)
            return false; // no frame header before the data
        if (at + 2 > size)
            return false;
        const size_t length = BigEndian16(data + at);
        if (length < 2 || at + length > size)
            return false;
        if (marker >= kSof0 && marker <= kSof15 && marker != kDht && marker != kJpg && marker != kDac)
            return ReadSof(data + at + 2, length - 2, out);
        at += length;
    }
    return false;
}

bool IsAcceptablePictureSize(const DeclaredSize& size)
{
    return size.width > 0 && size.height > 0 && size.width <= kMaxPicturePixels && size.height <= kMaxPicturePixels
        && size.width * size.height <= kMaxPicturePixels;
}
