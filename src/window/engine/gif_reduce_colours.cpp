#include "window/engine/gif_reduce_colours.h"

#include "window/engine/gif_nearest_colour.h"

#include <wx/palette.h>

#include <libimagequant.h>
#include <omp.h>

#include <array>
#include <memory>

namespace {

// libimagequant's speed/quality trade-off: 1 slowest and best, 10 fastest.
constexpr int kQuantiserSpeed = 8;
// k-means steps after the library's palette; each costs one more remap.
constexpr int kRefinementSteps = 1;

struct LiqDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
template <class T>
using LiqPtr = std::unique_ptr<T, LiqDeleter>;

void ToRgbaRow(liq_color rowOut[], int row, int width, void* userInfo)
{
    const wxImage& image = *static_cast<const wxImage*>(userInfo);
    const unsigned char* rgb = image.GetData() + std::size_t(row) * width * 3;
    for (int x = 0; x < width; ++x, rgb += 3)
        rowOut[x] = {rgb[0], rgb[1], rgb[2], 255};
}

} // namespace

bool GifIndexExactColours(const wxImage& image, GifIndexedFrame& frame)
{
    constexpr std::size_t kSlots = 1024; // four times the largest table
    constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    std::array<std::uint32_t, kSlots> keys;
    std::array<std::uint8_t, kSlots> slotIndex;
    keys.fill(kEmpty);

    frame.width = image.GetWidth();
    frame.height = image.GetHeight();
    frame.palette.clear();
    const std::size_t pixels = std::size_t(frame.width) * frame.height;
    frame.indices.resize(pixels);
    const unsigned char* rgb = image.GetData();
    std::uint32_t lastKey = kEmpty;
    std::uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < pixels; ++i, rgb += 3) {
        const std::uint32_t key = (std::uint32_t(rgb[0]) << 16) | (rgb[1] << 8) | rgb[2];
        if (key != lastKey) {
            std::size_t slot = (key * 2654435761u) >> 22;
            while (keys[slot] != kEmpty && keys[slot] != key)
                slot = (slot + 1) % kSlots;
            if (keys[slot] == kEmpty) {
                if (frame.palette.size() == std::size_t(kGifMaxColours))
                    return false;
                keys[slot] = key;
                slotIndex[slot] = static_cast<std::uint8_t>(frame.palette.size());
                frame.palette.push_back({rgb[0], rgb[1], rgb[2]});
            }
            lastKey = key;
            lastIndex = slotIndex[slot];
        }
        frame.indices[i] = lastIndex;
    }
    return true;
}

double GifRemapToPalette(const wxImage& image, const std::vector<GifRgb>& palette, GifIndexedFrame& frame)
{
    frame.width = image.GetWidth();
    frame.height = image.GetHeight();
    frame.palette = palette;
    const std::size_t pixels = std::size_t(frame.width) * frame.height;
    frame.indices.resize(pixels);
    GifNearestColour nearest(palette.data(), int(palette.size()));
    const std::uint64_t error = nearest.Remap(image.GetData(), pixels, frame.indices.data());
    return pixels ? double(error) / (3.0 * pixels) : 0.0;
}

std::vector<GifRgb> GifChoosePalette(const wxImage& image)
{
    // The library would otherwise start threads of its own; the pipeline
    // already keeps every core busy, and one thread keeps its result the same
    // on every machine.
    omp_set_num_threads(1);
    LiqPtr<liq_attr> attr(liq_attr_create());
    if (!attr || liq_set_max_colors(attr.get(), kGifMaxColours) != LIQ_OK ||
        liq_set_speed(attr.get(), kQuantiserSpeed) != LIQ_OK)
        return {};
    LiqPtr<liq_image> liqImage(liq_image_create_custom(attr.get(), ToRgbaRow, const_cast<wxImage*>(&image),
                                                       image.GetWidth(), image.GetHeight(), 0));
    liq_result* rawResult = nullptr;
    if (!liqImage || liq_image_quantize(liqImage.get(), attr.get(), &rawResult) != LIQ_OK)
        return {};
    LiqPtr<liq_result> result(rawResult);
    const liq_palette* chosen = liq_get_palette(result.get());
    std::vector<GifRgb> palette;
    for (unsigned i = 0; i < chosen->count; ++i)
        palette.push_back({chosen->entries[i].r, chosen->entries[i].g, chosen->entries[i].b});
    return palette;
}

std::vector<GifRgb> GifCentroidPalette(const wxImage& image, const GifIndexedFrame& frame)
{
    struct Sum {
        std::uint64_t red = 0, green = 0, blue = 0, count = 0;
    };
    std::vector<Sum> sums(frame.palette.size());
    const unsigned char* rgb = image.GetData();
    for (std::uint8_t index : frame.indices) {
        Sum& sum = sums[index];
        sum.red += rgb[0];
        sum.green += rgb[1];
        sum.blue += rgb[2];
        ++sum.count;
        rgb += 3;
    }
    std::vector<GifRgb> palette = frame.palette;
    for (std::size_t i = 0; i < sums.size(); ++i) {
        const Sum& sum = sums[i];
        if (sum.count == 0)
            continue;
        const std::uint64_t half = sum.count / 2;
        palette[i] = {static_cast<unsigned char>((sum.red + half) / sum.count),
                      static_cast<unsigned char>((sum.green + half) / sum.count),
                      static_cast<unsigned char>((sum.blue + half) / sum.count)};
    }
    return palette;
}

wxImage GifPaletteImage(const GifIndexedFrame& frame)
{
    wxImage image(frame.width, frame.height, false);
    unsigned char* rgb = image.GetData();
    for (std::uint8_t index : frame.indices) {
        const GifRgb& c = frame.palette[index];
        *rgb++ = c.red;
        *rgb++ = c.green;
        *rgb++ = c.blue;
    }
    std::vector<unsigned char> red, green, blue;
    for (const GifRgb& c : frame.palette) {
        red.push_back(c.red);
        green.push_back(c.green);
        blue.push_back(c.blue);
    }
    image.SetPalette(wxPalette(int(frame.palette.size()), red.data(), green.data(), blue.data()));
    return image;
}

double GifQuantise(const wxImage& image, const std::vector<GifRgb>& palette, GifIndexedFrame& frame)
{
    double error = GifRemapToPalette(image, palette, frame);
    // The palette was chosen for the eye; one step of k-means moves each entry
    // to the mean of its pixels, which lowers the plain RGB error.
    for (int step = 0; step < kRefinementSteps; ++step) {
        GifIndexedFrame refined;
        const double refinedError = GifRemapToPalette(image, GifCentroidPalette(image, frame), refined);
        if (refinedError >= error)
            break;
        error = refinedError;
        frame = std::move(refined);
    }
    return error;
}

wxImage ReduceGifColours(wxImage& frame)
{
    if (!frame.IsOk() || frame.GetWidth() < 1 || frame.GetHeight() < 1)
        return wxImage();
    GifIndexedFrame indexed;
    if (!GifIndexExactColours(frame, indexed)) {
        const std::vector<GifRgb> palette = GifChoosePalette(frame);
        if (palette.empty())
            return wxImage();
        GifQuantise(frame, palette, indexed);
    }
    return GifPaletteImage(indexed);
}
