#include "gif_test_decoders.h"

#include "palette/gif_colour_histogram.h"
#include "palette/gif_merge_palette.h"
#include "palette/gif_nearest_colour.h"
#include "palette/gif_reduce_colours.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace {

std::uint32_t RgbOf(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 16) | (p[1] << 8) | p[2];
}

std::set<std::uint32_t> PaletteColours(const wxImage& image)
{
    std::set<std::uint32_t> colours;
    const wxPalette& palette = image.GetPalette();
    for (int i = 0; i < palette.GetColoursCount(); ++i) {
        unsigned char rgb[3];
        palette.GetRGB(i, &rgb[0], &rgb[1], &rgb[2]);
        colours.insert(RgbOf(rgb));
    }
    return colours;
}

// A smooth photo-like picture with far more than 256 colours.
wxImage Gradient(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    wxImage image(width, height, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto channel = [&](int v) { return static_cast<unsigned char>(std::clamp(v + noise(random), 0, 255)); };
            image.SetRGB(x, y, channel(x * 255 / width), channel(y * 255 / height), channel((x + y) % 256));
        }
    return image;
}

} // namespace

TEST(GifReduceColours, KeepsUpTo256ColoursExactly)
{
    const std::vector<GifRgb> colours = DistinctColours(256);
    std::vector<int> pattern;
    for (int i = 0; i < 256; ++i)
        pattern.push_back((i * 97) % 256);
    // The second size is counted in a table of every colour.
    for (const wxSize size : {wxSize(64, 48), wxSize(4096, 4096)}) {
        SCOPED_TRACE(size.GetWidth());
        wxImage frame = PaletteImage(size.GetWidth(), size.GetHeight(), colours, pattern);
        frame.SetPalette(wxPalette());
        const wxImage reduced = ReduceGifColours(frame);
        ASSERT_TRUE(reduced.IsOk());
        EXPECT_TRUE(SamePixels(reduced, frame));
        EXPECT_EQ(reduced.GetPalette().GetColoursCount(), 256);
        EXPECT_FALSE(reduced.HasAlpha());
        EXPECT_FALSE(reduced.HasMask());
    }
}

TEST(GifReduceColours, FlatWhiteStaysWhite)
{
    wxImage frame(30, 20, false);
    frame.SetRGB(wxRect(0, 0, 30, 20), 255, 255, 255);
    const wxImage reduced = ReduceGifColours(frame);
    ASSERT_TRUE(reduced.IsOk());
    EXPECT_EQ(PaletteColours(reduced), std::set<std::uint32_t>{0xFFFFFF});
    EXPECT_TRUE(SamePixels(reduced, frame));
}

TEST(GifReduceColours, PhotoGetsAtMost256ColoursAllInThePalette)
{
    wxImage frame = Gradient(160, 120, 1);
    const wxImage reduced = ReduceGifColours(frame);
    ASSERT_TRUE(reduced.IsOk());
    ASSERT_TRUE(reduced.HasPalette());
    EXPECT_LE(reduced.GetPalette().GetColoursCount(), 256);
    const std::set<std::uint32_t> palette = PaletteColours(reduced);
    const unsigned char* rgb = reduced.GetData();
    for (int i = 0; i < 160 * 120; ++i, rgb += 3)
        ASSERT_TRUE(palette.count(RgbOf(rgb))) << "pixel " << i;

    GifIndexedFrame indexed;
    double error = -1;
    ASSERT_TRUE(GifReduceToIndexed(frame, indexed, &error));
    EXPECT_LT(error, 30.0); // better than 33 dB on this noisy gradient
}

TEST(GifReduceColours, ScreenContentAbove256ColoursStaysClose)
{
    // 300 colours, most of them rare: merging the rare ones costs little.
    wxImage frame(100, 100, false);
    frame.SetRGB(wxRect(0, 0, 100, 100), 240, 240, 240);
    for (int i = 0; i < 300; ++i)
        frame.SetRGB(i % 100, i / 100, i % 256, 20, 255 - i % 256);
    GifIndexedFrame indexed;
    double error = -1;
    ASSERT_TRUE(GifReduceToIndexed(frame, indexed, &error));
    EXPECT_LE(indexed.palette.size(), 256u);
    EXPECT_LT(error, 0.05);
}

TEST(GifReduceColours, EmptyFrameIsInvalid)
{
    wxImage none;
    EXPECT_FALSE(ReduceGifColours(none).IsOk());
}

TEST(GifNearestColour, FindsTheClosestAndTheLowestIndexOnTies)
{
    const GifRgb palette[] = {{0, 0, 0}, {10, 10, 10}, {200, 0, 0}, {10, 10, 10}, {0, 255, 0}};
    GifNearestColour nearest(palette, 5);
    EXPECT_EQ(nearest.Find(9, 11, 10), 1);
    EXPECT_EQ(nearest.Find(180, 30, 0), 2);
    EXPECT_EQ(nearest.Find(2, 1, 0), 0);
    EXPECT_EQ(nearest.Find(5, 250, 5), 4);
}

TEST(GifNearestColour, AgreesWithAFullScan)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<GifRgb> palette;
    for (int i = 0; i < 40; ++i)
        palette.push_back({static_cast<unsigned char>(i % 3 * 50), 77, 77}); // repeated entries
    for (int i = 40; i < 256; ++i)
        palette.push_back({static_cast<unsigned char>(byte(random)), static_cast<unsigned char>(byte(random)),
                           static_cast<unsigned char>(byte(random))});
    GifNearestColour nearest(palette.data(), 256);
    for (int n = 0; n < 20000; ++n) {
        const int r = byte(random), g = byte(random), b = byte(random);
        int best = 0, bestDistance = INT_MAX;
        for (int i = 0; i < 256; ++i) {
            const int d = (palette[i].red - r) * (palette[i].red - r) +
                          (palette[i].green - g) * (palette[i].green - g) +
                          (palette[i].blue - b) * (palette[i].blue - b);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        ASSERT_EQ(nearest.Find(r, g, b), best);
    }
}

TEST(GifMergePalette, MergesTheCheapestPairsFirst)
{
    // Two heavy colours and two light ones close to each: with two entries
    // the light ones join their heavy neighbours.
    const std::vector<GifWeightedColour> colours = {
        {0x000000, 1000}, {0x020202, 1}, {0xFFFFFF, 1000}, {0xFDFDFD, 1}};
    const std::vector<GifRgb> palette = GifMergePalette(colours, 2);
    ASSERT_EQ(palette.size(), 2u);
    EXPECT_EQ(palette[0].red, 0);
    EXPECT_EQ(palette[1].red, 255);
}

// Flat runs (taken whole), noise of more colours than the first table holds
// (the counts move with the table as it grows), and both in one picture: every
// colour once, in order of first appearance, with its count, and each pixel
// indexed through its own colour.
TEST(GifColourHistogram, CountsEveryColourInOrderOfFirstAppearance)
{
    const auto runs = [](wxImage image, int every) {
        unsigned char* rgb = image.GetData();
        for (int p = 0; p < image.GetWidth() * image.GetHeight(); ++p)
            if (p / every % 3 != 0)
                std::fill_n(rgb + p * 3, 3, static_cast<unsigned char>(p / every % 5 * 50));
        return image;
    };
    const struct {
        const char* name;
        wxImage image;
    } cases[] = {
        {"1x1", wxImage(1, 1, true)},
        {"flat runs", runs(wxImage(97, 13, true), 17)},
        {"noise", Gradient(400, 300, 7)},
        {"noise and runs", runs(Gradient(400, 300, 9), 101)},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const unsigned char* rgb = test.image.GetData();
        const std::size_t pixels = std::size_t(test.image.GetWidth()) * test.image.GetHeight();
        std::vector<std::uint32_t> order;
        std::map<std::uint32_t, std::uint32_t> counts;
        for (std::size_t p = 0; p < pixels; ++p)
            if (counts[RgbOf(rgb + p * 3)]++ == 0)
                order.push_back(RgbOf(rgb + p * 3));
        GifColourHistogram histogram(test.image);
        ASSERT_EQ(histogram.Colours().size(), order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            GifColourHistogram::Colour& colour = histogram.Colours()[i];
            ASSERT_EQ(colour.rgb, order[i]) << i;
            ASSERT_EQ(colour.count, counts[order[i]]) << i;
            colour.index = static_cast<std::uint8_t>(i * 7919 % 251);
        }
        std::vector<std::uint8_t> indices(pixels);
        histogram.IndexPixels(indices.data());
        std::map<std::uint32_t, std::uint8_t> indexOf;
        for (const GifColourHistogram::Colour& colour : histogram.Colours())
            indexOf[colour.rgb] = colour.index;
        for (std::size_t p = 0; p < pixels; ++p)
            ASSERT_EQ(indices[p], indexOf[RgbOf(rgb + p * 3)]) << p;
    }
}
