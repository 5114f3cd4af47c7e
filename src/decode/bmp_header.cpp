#include "decode/bmp_header.h"

#include "decode/picture_format.h"

#include <algorithm>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kPixelOffsetField = 10;
constexpr uint32_t kCoreHeaderBytes = 12;       // OS/2 1.x BITMAPCOREHEADER
constexpr uint32_t kOs2MinHeaderBytes = 16;     // OS/2 2.x headers run from 16 to 64 bytes
constexpr uint32_t kOs2MaxHeaderBytes = 64;
constexpr uint32_t kInfoHeaderBytes = 40;       // BITMAPINFOHEADER
constexpr uint32_t kInfoV2HeaderBytes = 52;     // with RGB masks
constexpr uint32_t kInfoV3HeaderBytes = 56;     // with an alpha mask
constexpr uint32_t kV4HeaderBytes = 108;
constexpr uint32_t kV5HeaderBytes = 124;
constexpr size_t kMaskBytes = 4;
constexpr int kMaxPaletteBits = 8;

uint32_t Le32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

unsigned Le16(const unsigned char* p)
{
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

bool IsKnownHeaderSize(uint32_t bytes)
{
    return bytes == kCoreHeaderBytes || (bytes >= kOs2MinHeaderBytes && bytes <= kOs2MaxHeaderBytes)
        || bytes == kV4HeaderBytes || bytes == kV5HeaderBytes;
}

bool IsWindowsInfoHeader(uint32_t bytes)
{
    return bytes == kInfoHeaderBytes || bytes == kInfoV2HeaderBytes || bytes == kInfoV3HeaderBytes
        || bytes == kV4HeaderBytes || bytes == kV5HeaderBytes;
}

bool IsSupportedDepth(const BmpHeader& h)
{
    switch (h.compression) {
    case kBmpRgb:
        return h.bitsPerPixel == 1 || h.bitsPerPixel == 2 || h.bitsPerPixel == 4 || h.bitsPerPixel == 8
            || h.bitsPerPixel == 16 || h.bitsPerPixel == 24 || h.bitsPerPixel == 32;
    case kBmpRle8:
        return h.bitsPerPixel == 8;
    case kBmpRle4:
        return h.bitsPerPixel == 4;
    case kBmpBitFields:
    case kBmpAlphaBitFields:
        return h.bitsPerPixel == 16 || h.bitsPerPixel == 32;
    default:
        return false;
    }
}

void SetDefaultMasks(BmpHeader& h)
{
    if (h.bitsPerPixel == 16) { // 5-5-5
        h.redMask = 0x7C00;
        h.greenMask = 0x03E0;
        h.blueMask = 0x001F;
    } else if (h.bitsPerPixel >= 24) {
        h.redMask = 0x00FF0000;
        h.greenMask = 0x0000FF00;
        h.blueMask = 0x000000FF;
    }
}

} // namespace

bool ReadBmpHeader(const unsigned char* data, size_t size, BmpHeader& out)
{
    if (size < kFileHeaderBytes + 4 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint32_t headerBytes = Le32(data + kFileHeaderBytes);
    if (!IsKnownHeaderSize(headerBytes) || size < kFileHeaderBytes + headerBytes)
        return false;
    const unsigned char* info = data + kFileHeaderBytes;
    const bool core = headerBytes == kCoreHeaderBytes;
    long long height = 0;
    if (core) {
        out.width = Le16(info + 4);
        height = Le16(info + 6);
        out.bitsPerPixel = Le16(info + 10);
        out.compression = kBmpRgb;
    } else {
        out.width = static_cast<int32_t>(Le32(info + 4));
        height = static_cast<int32_t>(Le32(info + 8));
        out.bitsPerPixel = Le16(info + 14);
        out.compression = headerBytes >= 20 ? Le32(info + 16) : kBmpRgb;
        // OS/2 2.x numbers its compressions differently; 3 and 4 there are
        // Huffman and RLE24, which this reader does not take.
        if (!IsWindowsInfoHeader(headerBytes) && out.compression > kBmpRle4)
            return false;
    }
    out.topDown = height < 0;
    out.height = height < 0 ? -height : height;
    if (!IsAcceptablePictureSize({out.width, out.height}) || !IsSupportedDepth(out))
        return false;
    if (out.topDown && (out.compression == kBmpRle4 || out.compression == kBmpRle8))
        return false; // RLE rows run bottom-up by definition

    size_t afterHeader = kFileHeaderBytes + headerBytes;
    SetDefaultMasks(out);
    if (out.compression == kBmpBitFields || out.compression == kBmpAlphaBitFields) {
        const size_t maskCount = out.compression == kBmpAlphaBitFields ? 4 : 3;
        const unsigned char* masks = info + kInfoHeaderBytes;
        if (headerBytes == kInfoHeaderBytes) {
            // Masks follow a plain info header.
            if (size < afterHeader + maskCount * kMaskBytes)
                return false;
            afterHeader += maskCount * kMaskBytes;
        } else if (headerBytes < kInfoHeaderBytes + maskCount * kMaskBytes) {
            return false;
        }
        out.redMask = Le32(masks);
        out.greenMask = Le32(masks + 4);
        out.blueMask = Le32(masks + 8);
        if (maskCount == 4)
            out.alphaMask = Le32(masks + 12);
    }
    if (out.compression == kBmpBitFields && headerBytes >= kInfoV3HeaderBytes && IsWindowsInfoHeader(headerBytes))
        out.alphaMask = Le32(info + kInfoHeaderBytes + 12);
    if (out.bitsPerPixel == 16 && ((out.redMask | out.greenMask | out.blueMask | out.alphaMask) >> 16))
        return false; // masks wider than the pixel
    out.hasAlpha = out.alphaMask != 0;

    out.pixelOffset = Le32(data + kPixelOffsetField);
    if (out.pixelOffset < afterHeader || out.pixelOffset >= size)
        return false;

    if (out.bitsPerPixel <= kMaxPaletteBits) {
        const size_t entryBytes = core ? 3 : 4;
        constexpr uint32_t kColoursUsedEnd = 36; // biClrUsed ends here
        const uint32_t declared = headerBytes >= kColoursUsedEnd ? Le32(info + 32) : 0;
        const size_t full = size_t(1) << out.bitsPerPixel;
        size_t count = declared == 0 ? full : std::min<size_t>(declared, full);
        // The palette lies between the headers and the pixels.
        count = std::min(count, (out.pixelOffset - afterHeader) / entryBytes);
        out.palette.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const unsigned char* e = data + afterHeader + i * entryBytes; // stored blue, green, red
            out.palette[i] = BmpColour{e[2], e[1], e[0]};
        }
    }
    return true;
}
