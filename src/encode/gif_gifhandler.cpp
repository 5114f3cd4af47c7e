#include "encode/gif_gifhandler.h"

#include "encode/gif_lzw.h"
#include "format/gif_format.h"
#include "palette/gif_colour_index.h"

#include <wx/palette.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;

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

} // namespace

bool MyGifHandler::DoSaveFile(const wxImage& image, bool first, int delayMilliSecs,
                              const GifRgb* table, int count, int maskIndex, int plays)
{
    if (!image.IsOk() || count < 1 || count > kGifMaxColours)
        return false;
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    if (width < 1 || height < 1 || width > kGifMaxField || height > kGifMaxField)
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

    std::vector<std::uint8_t> data;
    GifLzwCompress(indices.data(), indices.size(), GifLzwMinimumCodeSize(count), data);
    return GifWriteBytes(data.data(), data.size());
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
