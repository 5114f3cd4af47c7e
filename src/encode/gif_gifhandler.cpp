#include "encode/gif_gifhandler.h"

#include "format/gif_format.h"
#include "palette/gif_colour_index.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/palette.h>

#include <climits>
#include <cstdint>
#include <new>
#include <vector>

namespace {

constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
// Pixels are always compressed as 8-bit indices, whatever the table size.
constexpr int kCompressionBits = 8;
// Fields of the file are 16 bits wide.

// The colour table index of every pixel, row by row; empty when a pixel's
// colour is missing from the table.
std::vector<std::uint8_t> IndexPixels(const wxImage& image, const GifRgb* table, int count)
{
    const GifColourIndex lookup(table, count);
    const std::size_t pixels = std::size_t(image.GetWidth()) * image.GetHeight();
    std::vector<std::uint8_t> indices(pixels);
    const unsigned char* rgb = image.GetData();
    std::uint32_t lastKey = 0xFFFFFFFFu;
    int lastIndex = -1;
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3) {
        const std::uint32_t key = (std::uint32_t(rgb[0]) << 16) | (rgb[1] << 8) | rgb[2];
        if (key != lastKey) {
            lastIndex = lookup.Find(rgb[0], rgb[1], rgb[2]);
            if (lastIndex < 0)
                return {};
            lastKey = key;
        }
        indices[i] = static_cast<std::uint8_t>(lastIndex);
    }
    return indices;
}

// Hands the compressor's output to CurrentGifStream until the first short
// write, then takes nothing more: the toolkit's compressor still writes its
// block terminator after a failed block.
class StopAtFirstFailureStream : public wxOutputStream {
public:
    explicit StopAtFirstFailureStream(wxOutputStream& target) : m_target(target) {}

protected:
    size_t OnSysWrite(const void* buffer, size_t size) override
    {
        if (m_failed)
            return 0;
        m_target.Write(buffer, size);
        const size_t written = m_target.LastWrite();
        if (written != size) {
            m_failed = true;
            m_lasterror = wxSTREAM_WRITE_ERROR;
        }
        return written;
    }

private:
    wxOutputStream& m_target;
    bool m_failed = false;
};

} // namespace

MyGifHandler::~MyGifHandler()
{
    FreeHashTable();
}

void MyGifHandler::FreeHashTable()
{
    // The base allocates a plain array-holding struct with `new` and declares
    // it incomplete; it has no destructor to run.
    ::operator delete(static_cast<void*>(m_hashTable));
    m_hashTable = nullptr;
}

bool MyGifHandler::DoSaveFile(const wxImage& image, bool first, int delayMilliSecs,
                              const GifRgb* table, int count, int maskIndex, int plays)
{
    if (!image.IsOk() || count < 1 || count > kGifMaxColours)
        return false;
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const int evenWidth = width % 2 == 0 ? width : width + 1;
    if (width < 1 || height < 1 || width > kGifMaxField || height > kGifMaxField ||
        static_cast<long long>(evenWidth) * height > INT_MAX)
        return false;
    const std::vector<std::uint8_t> indices = IndexPixels(image, table, count);
    // A colour missing from the table cannot be written truthfully.
    if (indices.empty())
        return false;

    if (first && !GifWriteHeader(width, height, table, count, plays))
        return false;
    if (!GifWriteComment(image.GetOption(wxIMAGE_OPTION_GIF_COMMENT)) ||
        !GifWriteControl(maskIndex, delayMilliSecs) || !GifWriteBytes(&kImageSeparator, 1) ||
        !GifWriteRect(width, height))
        return false;
    if (first) {
        const std::uint8_t packed = 0x00; // the frame uses the global colour table
        if (!GifWriteBytes(&packed, 1))
            return false;
    } else {
        const int bpp = GifBitsPerPixel(count);
        const std::uint8_t packed = static_cast<std::uint8_t>(0x80 | (bpp - 1));
        if (!GifWriteBytes(&packed, 1) || !GifWriteColourTable(table, count, bpp))
            return false;
    }

    if (!InitHashTable()) {
        wxLogError(_("Couldn't initialize GIF hash table."));
        return false;
    }
    StopAtFirstFailureStream stream(*CurrentGifStream);
    bool ok = SetupCompress(&stream, kCompressionBits);
    // CompressLine ends the data block once this counter reaches 0, which it
    // does just before the last row.
    m_pixelCount = height * evenWidth;
    for (int y = 0; ok && y < height; ++y) {
        m_pixelCount -= evenWidth;
        ok = CompressLine(&stream, indices.data() + std::size_t(y) * width, width);
    }
    FreeHashTable();
    return ok;
}

bool GifGetPalette(const wxImage& image, GifRgb* table, int& count, int& maskIndex)
{
    if (!image.IsOk() || !image.HasPalette())
        return false;
    const wxPalette& palette = image.GetPalette();
    const int entries = palette.GetColoursCount();
    if (entries > kGifMaxColours)
        return false;
    for (int i = 0; i < entries; ++i) {
        unsigned char red, green, blue;
        if (!palette.GetRGB(i, &red, &green, &blue))
            break;
        table[i] = {red, green, blue};
    }
    count = entries;
    maskIndex = -1;
    if (!image.HasMask())
        return true;
    const GifRgb mask = {image.GetMaskRed(), image.GetMaskGreen(), image.GetMaskBlue()};
    for (int i = 0; i < count; ++i) {
        if (table[i].red == mask.red && table[i].green == mask.green && table[i].blue == mask.blue) {
            maskIndex = i;
            return true;
        }
    }
    if (count < kGifMaxColours) {
        table[count] = mask;
        maskIndex = count++;
    }
    return true;
}

bool GifWriteFrame(const wxImage& image, MyGifHandler& handler, int delayMilliSecs, int frameCount,
                   int frameIndex, int plays)
{
    GifRgb table[kGifMaxColours] = {};
    int count = 0;
    int maskIndex = -1;
    if (!GifGetPalette(image, table, count, maskIndex))
        return false;
    if (!handler.DoSaveFile(image, frameIndex == 0, delayMilliSecs, table, count, maskIndex, plays))
        return false;
    if (frameIndex + 1 == frameCount)
        return GifWriteBytes(&kTrailer, 1);
    return true;
}
