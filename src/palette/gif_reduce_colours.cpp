#include "palette/gif_reduce_colours.h"

#include "palette/gif_colour_histogram.h"
#include "palette/gif_dither.h"
#include "palette/gif_edge_dither.h"
#include "palette/gif_merge_palette.h"
#include "palette/gif_nearest_colour.h"

#include <wx/palette.h>

#include <libimagequant.h>
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// libimagequant's speed/quality trade-off, 1 slowest to 10 fastest. The k-means
// steps below make up for what the faster settings lose.
constexpr int kQuantiserSpeed = 8;
// libimagequant's default gamma for sRGB input.
constexpr double kInputGamma = 0.45455;
// Photos: their colours are gathered into cells of this many bits per channel
// (a tenth as many colours); the palette is chosen and refined by k-means on
// the cells, each weighing the square root of its pixel count, then refined
// on the exact colours by their counts.
constexpr int kCoarseBits = 5;
constexpr int kPhotoSteps = 2;
constexpr int kExactPhotoSteps = 1;
// Up to this many distinct colours (screen content) merging clusters is both
// affordable and better than the photo quantiser; k-means polishes the result.
constexpr std::size_t kFewColours = 2048;
constexpr int kFewColourSteps = 10;
// Photos of at least this many pixels, up to the size of a 4K frame, are
// dithered less at edges and in texture, which looks better on large photos
// (docs/performance.md).
constexpr std::size_t kEdgeDitherFromPixels = 1000 * 1000;
constexpr std::size_t kEdgeDitherToPixels = 3840 * 2160;
// Frames with at least 3/4 of their pixels still may take the file's first
// table for the rest, when its mean squared error per channel there is at
// most this. Photos' own palettes came to 1.3 to 17 on the benchmark's
// frames (pan about 4); the first table fitted a patch gliding over its own
// photo at about 2, and a video playing inside a screen recording at 5 to 7,
// which keeps its own palettes and their look (docs/performance.md).
constexpr std::size_t kMostlyStill = 3;
constexpr std::size_t kMostlyStillOf = 4;
constexpr double kMovingPhotoMeanSquaredError = 3;

struct LiqDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_histogram* p) const { liq_histogram_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
template <class T>
using LiqPtr = std::unique_ptr<T, LiqDeleter>;

using ColourList = std::vector<GifColourHistogram::Colour>;

GifRgb ToRgb(std::uint32_t rgb)
{
    return {static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
            static_cast<unsigned char>(rgb)};
}

std::vector<GifRgb> ChoosePalette(const ColourList& colours, int maxColours)
{
    // The library would otherwise start threads of its own; the pipeline
    // already keeps every core busy, and one thread keeps its result the same
    // on every machine.
    omp_set_num_threads(1);
    LiqPtr<liq_attr> attr(liq_attr_create());
    if (!attr || liq_set_max_colors(attr.get(), maxColours) != LIQ_OK ||
        liq_set_speed(attr.get(), kQuantiserSpeed) != LIQ_OK)
        return {};
    LiqPtr<liq_histogram> liqHistogram(liq_histogram_create(attr.get()));
    if (!liqHistogram)
        return {};
    std::vector<liq_histogram_entry> entries;
    entries.reserve(colours.size());
    for (const GifColourHistogram::Colour& colour : colours) {
        const GifRgb c = ToRgb(colour.rgb);
        entries.push_back({{c.red, c.green, c.blue, 255}, colour.count});
    }
    liq_result* rawResult = nullptr;
    if (liq_histogram_add_colors(liqHistogram.get(), attr.get(), entries.data(), int(entries.size()),
                                 kInputGamma) != LIQ_OK ||
        liq_histogram_quantize(liqHistogram.get(), attr.get(), &rawResult) != LIQ_OK)
        return {};
    LiqPtr<liq_result> result(rawResult);
    const liq_palette* chosen = liq_get_palette(result.get());
    std::vector<GifRgb> palette;
    for (unsigned i = 0; i < chosen->count; ++i)
        palette.push_back({chosen->entries[i].r, chosen->entries[i].g, chosen->entries[i].b});
    return palette;
}

// Gives every distinct colour the index of its nearest palette entry; returns
// the summed squared error over all pixels.
std::uint64_t AssignNearest(ColourList& colours, const std::vector<GifRgb>& palette)
{
    GifNearestColour nearest(palette.data(), int(palette.size()));
    std::uint64_t error = 0;
    for (GifColourHistogram::Colour& colour : colours) {
        const GifRgb c = ToRgb(colour.rgb);
        colour.index = static_cast<std::uint8_t>(nearest.Find(c.red, c.green, c.blue));
        const GifRgb& p = palette[colour.index];
        const int dr = c.red - p.red, dg = c.green - p.green, db = c.blue - p.blue;
        error += std::uint64_t(dr * dr + dg * dg + db * db) * colour.count;
    }
    return error;
}

// Moves each palette entry to the mean of the colours assigned to it.
std::vector<GifRgb> Centroids(const ColourList& colours, const std::vector<GifRgb>& palette)
{
    struct Sum {
        std::uint64_t red = 0, green = 0, blue = 0, count = 0;
    };
    std::vector<Sum> sums(palette.size());
    for (const GifColourHistogram::Colour& colour : colours) {
        const GifRgb c = ToRgb(colour.rgb);
        Sum& sum = sums[colour.index];
        sum.red += std::uint64_t(c.red) * colour.count;
        sum.green += std::uint64_t(c.green) * colour.count;
        sum.blue += std::uint64_t(c.blue) * colour.count;
        sum.count += colour.count;
    }
    std::vector<GifRgb> moved = palette;
    for (std::size_t i = 0; i < sums.size(); ++i) {
        const Sum& sum = sums[i];
        if (sum.count == 0)
            continue;
        const std::uint64_t half = sum.count / 2;
        moved[i] = {static_cast<unsigned char>((sum.red + half) / sum.count),
                    static_cast<unsigned char>((sum.green + half) / sum.count),
                    static_cast<unsigned char>((sum.blue + half) / sum.count)};
    }
    return moved;
}

// The colours gathered into cells of the colour cube, each cell standing
// for its colours by their mean: photos have tens of thousands of colours,
// and the palette barely changes when it is fitted to a tenth as many. A
// cell weighs the square root of its count: by plain counts the large
// smooth areas took most entries while a small area of its own colour (a
// flower on a lawn) was dithered from distant ones, which looked worse and
// made larger files (docs/performance.md).
ColourList Coarsen(const ColourList& colours)
{
    struct Cell {
        std::uint64_t red = 0, green = 0, blue = 0;
        std::uint32_t count = 0;
    };
    constexpr int kDroppedBits = 8 - kCoarseBits;
    std::vector<std::uint32_t> cellOf(std::size_t(1) << (3 * kCoarseBits), 0); // position + 1
    std::vector<Cell> cells;
    for (const GifColourHistogram::Colour& colour : colours) {
        const GifRgb c = ToRgb(colour.rgb);
        const std::size_t key = (std::size_t(c.red >> kDroppedBits) << (2 * kCoarseBits)) |
                                (std::size_t(c.green >> kDroppedBits) << kCoarseBits) | (c.blue >> kDroppedBits);
        if (cellOf[key] == 0) {
            cells.emplace_back();
            cellOf[key] = std::uint32_t(cells.size());
        }
        Cell& cell = cells[cellOf[key] - 1];
        cell.red += std::uint64_t(c.red) * colour.count;
        cell.green += std::uint64_t(c.green) * colour.count;
        cell.blue += std::uint64_t(c.blue) * colour.count;
        cell.count += colour.count;
    }
    ColourList coarse;
    coarse.reserve(cells.size());
    for (const Cell& cell : cells) {
        const std::uint64_t half = cell.count / 2;
        const std::uint32_t rgb = std::uint32_t((cell.red + half) / cell.count) << 16 |
                                  std::uint32_t((cell.green + half) / cell.count) << 8 |
                                  std::uint32_t((cell.blue + half) / cell.count);
        coarse.push_back({rgb, std::uint32_t(std::ceil(std::sqrt(double(cell.count)))), 0});
    }
    return coarse;
}

// Improves `palette` by k-means steps; leaves every colour assigned to its
// nearest entry and returns the summed squared error.
std::uint64_t Refine(ColourList& colours, std::vector<GifRgb>& palette, int steps)
{
    std::uint64_t error = AssignNearest(colours, palette);
    for (int step = 0; step < steps; ++step) {
        const std::vector<GifRgb> moved = Centroids(colours, palette);
        const std::uint64_t movedError = AssignNearest(colours, moved);
        if (movedError >= error) {
            // Not better: put the previous assignment back and stop.
            AssignNearest(colours, palette);
            break;
        }
        error = movedError;
        palette = moved;
    }
    return error;
}

// The colours assigned to their nearest entries of a palette already written,
// and the summed squared error.
struct SharedFit {
    ColourList colours;
    std::uint64_t error = 0;
};

void UseShared(SharedFit& fit, ColourList& colours, const std::vector<GifRgb>& shared, std::vector<GifRgb>& palette,
               std::uint64_t& error)
{
    colours.swap(fit.colours);
    palette = shared;
    error = fit.error;
}

// Dithers the frame's indices, which hold each pixel's nearest entry.
void Dither(const wxImage& image, GifIndexedFrame& frame, std::uint64_t error, std::size_t counted,
            const GifReduceOptions& options)
{
    const std::size_t pixels = frame.indices.size();
    if (!options.fast && pixels >= kEdgeDitherFromPixels && pixels <= kEdgeDitherToPixels)
        GifEdgeDitherPixels(image.GetData(), frame.width, frame.height, frame.palette, frame.indices.data(),
                            double(error) / double(counted), options.dither, frame.indices.data(), options.still);
    else
        GifDitherPixels(image.GetData(), frame.width, frame.height, frame.palette, frame.indices.data(),
                        options.dither, frame.indices.data(), options.still);
}

// A frame that mostly shows what the frame before showed, with photo content
// moving in the rest (a patch gliding over a still picture): the file's first
// table is taken as the palette when it fits the moving pixels about as well
// as a photo's own palette does, which spares counting and choosing colours
// over the whole picture and writing a table. False when that does not hold.
bool ReduceMovingPhoto(const wxImage& image, GifIndexedFrame& frame, std::uint64_t& error, std::size_t& moving,
                       const GifReduceOptions& options)
{
    const std::size_t pixels = std::size_t(frame.width) * frame.height;
    if (!options.still || !options.shared || options.dither <= 0)
        return false;
    std::size_t still = 0;
    for (std::size_t p = 0; p < pixels; ++p)
        still += options.still[p] != 0;
    if (still * kMostlyStillOf < pixels * kMostlyStill || still == pixels)
        return false;
    GifColourHistogram histogram(image, options.still);
    // Screen content keeps its exact colours by the usual way.
    if (histogram.Colours().size() <= kFewColours)
        return false;
    const std::vector<GifRgb>* shared = options.shared();
    if (!shared || shared->empty())
        return false;
    moving = pixels - still;
    error = AssignNearest(histogram.Colours(), *shared);
    if (double(error) > kMovingPhotoMeanSquaredError * 3.0 * double(moving))
        return false;
    frame.palette = *shared;
    frame.indices.resize(pixels);
    histogram.IndexPixels(frame.indices.data());
    Dither(image, frame, error, moving, options);
    return true;
}

} // namespace

bool GifReduceToIndexed(const wxImage& image, GifIndexedFrame& frame, double* meanSquaredError,
                        const GifReduceOptions& options)
{
    const int maxColours = std::clamp(options.maxColours, 2, kGifMaxColours);
    if (!image.IsOk() || image.GetWidth() < 1 || image.GetHeight() < 1)
        return false;
    frame.width = image.GetWidth();
    frame.height = image.GetHeight();
    const std::size_t pixels = std::size_t(frame.width) * frame.height;
    std::uint64_t error = 0;
    std::size_t moving = 0;
    if (ReduceMovingPhoto(image, frame, error, moving, options)) {
        if (meanSquaredError)
            *meanSquaredError = double(error) / (3.0 * double(moving));
        return true;
    }
    GifColourHistogram histogram(image);
    // Photos are dithered; screen content and drawings, whose few thousand
    // colours are mostly flat areas and the edges between them, are not.
    bool dither = false;
    if (histogram.Colours().size() <= std::size_t(maxColours)) {
        frame.palette.clear();
        for (GifColourHistogram::Colour& colour : histogram.Colours()) {
            colour.index = static_cast<std::uint8_t>(frame.palette.size());
            frame.palette.push_back(ToRgb(colour.rgb));
        }
    } else {
        if (histogram.Colours().size() <= kFewColours) {
            const std::vector<GifRgb>* shared = options.shared ? options.shared() : nullptr;
            const bool hasShared = shared && !shared->empty();
            SharedFit fit;
            if (hasShared) {
                fit.colours = histogram.Colours();
                fit.error = AssignNearest(fit.colours, *shared);
            }
            const double floor = options.sharedMeanSquaredError * 3.0 * double(pixels);
            if (hasShared && double(fit.error) <= floor) {
                // Good enough on its own terms: taken whatever the frame's
                // own palette would be, so that is not chosen.
                UseShared(fit, histogram.Colours(), *shared, frame.palette, error);
            } else {
                std::vector<GifWeightedColour> weighted;
                for (const GifColourHistogram::Colour& colour : histogram.Colours())
                    weighted.push_back({colour.rgb, colour.count});
                frame.palette = GifMergePalette(weighted, maxColours);
                error = Refine(histogram.Colours(), frame.palette, kFewColourSteps);
                if (hasShared && double(fit.error) <= std::max(double(error) * options.sharedTolerance, floor))
                    UseShared(fit, histogram.Colours(), *shared, frame.palette, error);
            }
        } else {
            dither = options.dither > 0;
            ColourList coarse = Coarsen(histogram.Colours());
            frame.palette = ChoosePalette(coarse, maxColours);
            if (frame.palette.empty())
                return false;
            Refine(coarse, frame.palette, kPhotoSteps);
            error = Refine(histogram.Colours(), frame.palette, kExactPhotoSteps);
        }
    }
    frame.indices.resize(pixels);
    histogram.IndexPixels(frame.indices.data());
    if (dither)
        Dither(image, frame, error, pixels, options);
    if (meanSquaredError)
        *meanSquaredError = double(error) / (3.0 * pixels);
    return true;
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

wxImage ReduceGifColours(wxImage& frame)
{
    GifIndexedFrame indexed;
    if (!GifReduceToIndexed(frame, indexed))
        return wxImage();
    return GifPaletteImage(indexed);
}
