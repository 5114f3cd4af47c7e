#include "encode/gif_blocks.h"

#include <wx/strconv.h>

#include <algorithm>

#include <cstdint>

thread_local wxOutputStream* CurrentGifStream = nullptr;

namespace {

// Block introducers and labels of the GIF89a format.
constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kBlockTerminator = 0x00;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kLocalTableFlag = 0x80;
constexpr std::size_t kMaxSubBlock = 255;

bool WriteByte(std::uint8_t value)
{
    return GifWriteBytes(&value, 1);
}

bool WriteWord(int value)
{
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value & 0xFF),
                                   static_cast<std::uint8_t>((value >> 8) & 0xFF)};
    return GifWriteBytes(bytes, sizeof bytes);
}

} // namespace

bool GifWriteBytes(const void* data, std::size_t size)
{
    wxOutputStream* stream = CurrentGifStream;
    if (stream == nullptr)
        return false;
    stream->Write(data, size);
    return stream->LastWrite() == size;
}

int GifBitsPerPixel(int count)
{
    int bpp = 1;
    while ((1 << bpp) < count && bpp < 8)
        ++bpp;
    return bpp;
}

int GifLoopField(int plays)
{
    if (plays <= 0)
        return 0;
    if (plays == 1)
        return -1;
    return std::min(plays, kGifMaxPlays) - 1;
}

bool GifWriteHeader(int width, int height, const GifRgb* table, int count, int plays)
{
    static const char signature[] = "GIF89a";
    if (!GifWriteBytes(signature, 6) || !WriteWord(width) || !WriteWord(height))
        return false;
    const int bpp = GifBitsPerPixel(count);
    // Global colour table present, colour resolution bpp, unsorted, size bpp.
    const std::uint8_t packed = static_cast<std::uint8_t>(0x80 | ((bpp - 1) << 4) | (bpp - 1));
    const std::uint8_t backgroundAndAspect[2] = {0x00, 0x00};
    const int loopField = GifLoopField(plays);
    return WriteByte(packed) && GifWriteBytes(backgroundAndAspect, 2) &&
           GifWriteColourTable(table, count, bpp) && (loopField < 0 || GifWriteLoopExtension(loopField));
}

bool GifWriteColourTable(const GifRgb* table, int count, int bpp)
{
    std::uint8_t bytes[kGifMaxColours * 3] = {};
    const int entries = 1 << bpp;
    for (int i = 0; i < count && i < entries; ++i) {
        bytes[i * 3] = table[i].red;
        bytes[i * 3 + 1] = table[i].green;
        bytes[i * 3 + 2] = table[i].blue;
    }
    return GifWriteBytes(bytes, static_cast<std::size_t>(entries) * 3);
}

bool GifWriteLoopExtension(int field)
{
    static const std::uint8_t head[3] = {kExtensionIntroducer, kApplicationLabel, 11};
    static const char application[] = "NETSCAPE2.0";
    // Sub-block of 3 bytes: id 1, then the loop count; 0 repeats for ever.
    const std::uint8_t loop[5] = {0x03, 0x01, static_cast<std::uint8_t>(field & 0xFF),
                                  static_cast<std::uint8_t>((field >> 8) & 0xFF), kBlockTerminator};
    return GifWriteBytes(head, sizeof head) && GifWriteBytes(application, 11) &&
           GifWriteBytes(loop, sizeof loop);
}

bool GifWriteControl(int maskIndex, int delayMilliSecs, bool keepPrevious)
{
    const bool transparent = maskIndex != -1;
    const int delayCs = delayMilliSecs / 10;
    // Disposal method in bits 2 to 4, transparency flag in bit 0.
    const std::uint8_t packed = static_cast<std::uint8_t>((keepPrevious ? 0x04 : 0x00) | (transparent ? 0x01 : 0x00));
    const std::uint8_t bytes[8] = {kExtensionIntroducer,
                                   kGraphicControlLabel,
                                   0x04,
                                   packed,
                                   static_cast<std::uint8_t>(delayCs & 0xFF),
                                   static_cast<std::uint8_t>((delayCs >> 8) & 0xFF),
                                   static_cast<std::uint8_t>(transparent ? maskIndex : 0),
                                   kBlockTerminator};
    return GifWriteBytes(bytes, sizeof bytes);
}

bool GifWriteRect(int width, int height, int left, int top)
{
    return WriteWord(left) && WriteWord(top) && WriteWord(width) && WriteWord(height);
}

bool GifWriteImageDescriptor(int left, int top, int width, int height, const GifRgb* localTable, int count)
{
    if (!WriteByte(kImageSeparator) || !GifWriteRect(width, height, left, top))
        return false;
    if (localTable == nullptr)
        return WriteByte(0x00);
    const int bpp = GifBitsPerPixel(count);
    return WriteByte(static_cast<std::uint8_t>(kLocalTableFlag | (bpp - 1))) &&
           GifWriteColourTable(localTable, count, bpp);
}

bool GifWriteTrailer()
{
    return WriteByte(kTrailer);
}

bool GifWriteComment(const wxString& text)
{
    if (text.empty())
        return true;
    const std::uint8_t head[2] = {kExtensionIntroducer, kCommentLabel};
    if (!GifWriteBytes(head, sizeof head))
        return false;
    const wxCharBuffer bytes = text.mb_str(wxConvLibc);
    const std::size_t length = bytes.length();
    for (std::size_t done = 0; done < length; done += kMaxSubBlock) {
        const std::size_t part = std::min(kMaxSubBlock, length - done);
        if (!WriteByte(static_cast<std::uint8_t>(part)) || !GifWriteBytes(bytes.data() + done, part))
            return false;
    }
    return WriteByte(kBlockTerminator);
}
