#include "gif_test_decoders.h"

#include "encode/gif_gifhandler.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const Bytes kLoopExtension = Concat({{0x21, 0xFF, 0x0B}, Text("NETSCAPE2.0"), {0x03, 0x01, 0x00, 0x00, 0x00}});

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t length)
{
    return Bytes(bytes.begin() + from, bytes.begin() + from + length);
}

Bytes WriteFrames(const std::vector<wxImage>& frames, int delayMs)
{
    CapturedGifStream capture;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        MyGifHandler handler;
        EXPECT_TRUE(GifWriteFrame(frames[i], handler, delayMs, int(frames.size()), int(i)));
    }
    return capture.Data();
}

} // namespace

TEST(GifBlocks, BitsPerPixelCoverTheTable)
{
    EXPECT_EQ(GifBitsPerPixel(1), 1);
    EXPECT_EQ(GifBitsPerPixel(2), 1);
    EXPECT_EQ(GifBitsPerPixel(3), 2);
    EXPECT_EQ(GifBitsPerPixel(4), 2);
    EXPECT_EQ(GifBitsPerPixel(5), 3);
    EXPECT_EQ(GifBitsPerPixel(129), 8);
    EXPECT_EQ(GifBitsPerPixel(256), 8);
}

TEST(GifBlocks, HeaderWithTwoColours)
{
    CapturedGifStream capture;
    const GifRgb table[2] = {{1, 2, 3}, {4, 5, 6}};
    ASSERT_TRUE(GifWriteHeader(300, 2, table, 2));
    const Bytes expected = Concat({Text("GIF89a"), {0x2C, 0x01, 0x02, 0x00, 0x80, 0x00, 0x00},
                                   {1, 2, 3, 4, 5, 6}, kLoopExtension});
    EXPECT_EQ(capture.Data(), expected);
}

TEST(GifBlocks, ThreeColoursFillAFourEntryTableWithBlack)
{
    CapturedGifStream capture;
    const GifRgb table[3] = {{9, 9, 9}, {8, 8, 8}, {7, 7, 7}};
    ASSERT_TRUE(GifWriteHeader(1, 1, table, 3));
    const Bytes data = capture.Data();
    EXPECT_EQ(data[10], 0x91);
    EXPECT_EQ(Slice(data, 13, 12), (Bytes{9, 9, 9, 8, 8, 8, 7, 7, 7, 0, 0, 0}));
    EXPECT_EQ(Slice(data, 25, data.size() - 25), kLoopExtension);
}

TEST(GifBlocks, FullTableHeaderByte)
{
    CapturedGifStream capture;
    const std::vector<GifRgb> colours = DistinctColours(256);
    ASSERT_TRUE(GifWriteHeader(1, 1, colours.data(), 256));
    const Bytes data = capture.Data();
    EXPECT_EQ(data[10], 0xF7);
    EXPECT_EQ(data.size(), 13u + 768 + kLoopExtension.size());
}

TEST(GifBlocks, ControlExtensionDelays)
{
    {
        CapturedGifStream capture;
        ASSERT_TRUE(GifWriteControl(-1, 100));
        EXPECT_EQ(capture.Data(), (Bytes{0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00}));
    }
    {
        CapturedGifStream capture;
        ASSERT_TRUE(GifWriteControl(-1, 3000));
        EXPECT_EQ(capture.Data(), (Bytes{0x21, 0xF9, 0x04, 0x00, 0x2C, 0x01, 0x00, 0x00}));
    }
}

TEST(GifBlocks, RectAndLoopExtension)
{
    CapturedGifStream capture;
    ASSERT_TRUE(GifWriteRect(0x1234, 7));
    ASSERT_TRUE(GifWriteLoopExtension());
    EXPECT_EQ(capture.Data(), Concat({{0, 0, 0, 0, 0x34, 0x12, 7, 0}, kLoopExtension}));
}

TEST(GifBlocks, CommentInSubBlocks)
{
    {
        CapturedGifStream capture;
        ASSERT_TRUE(GifWriteComment(wxString()));
        EXPECT_TRUE(capture.Data().empty());
    }
    CapturedGifStream capture;
    ASSERT_TRUE(GifWriteComment(wxString('c', 300)));
    const Bytes data = capture.Data();
    ASSERT_EQ(data.size(), 2u + 1 + 255 + 1 + 45 + 1);
    EXPECT_EQ(data[0], 0x21);
    EXPECT_EQ(data[1], 0xFE);
    EXPECT_EQ(data[2], 255);
    EXPECT_EQ(data[258], 45);
    EXPECT_EQ(data[259], 'c');
    EXPECT_EQ(data.back(), 0x00);
}

// Where the mask colour goes in the frame's table, and the control extension
// that follows: transparency flag and index (delay 10 cs).
struct MaskCase {
    const char* name;
    std::vector<GifRgb> palette;
    GifRgb mask;
    int count;
    int maskIndex;
    Bytes control; // empty: not checked
};

void PrintTo(const MaskCase& c, std::ostream* out)
{
    *out << c.name;
}

class GifMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(GifMask, TakesItsPlaceInTheTable)
{
    const MaskCase& c = GetParam();
    wxImage image = PaletteImage(2, 1, c.palette, {0});
    image.SetMaskColour(c.mask.red, c.mask.green, c.mask.blue);
    GifRgb table[kGifMaxColours];
    int count = 0, maskIndex = 0;
    ASSERT_TRUE(GifGetPalette(image, table, count, maskIndex));
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(maskIndex, c.maskIndex);
    if (maskIndex >= 0) {
        EXPECT_EQ(table[maskIndex].red, c.mask.red);
    }
    if (c.control.empty())
        return;
    CapturedGifStream capture;
    ASSERT_TRUE(GifWriteControl(maskIndex, 100));
    EXPECT_EQ(capture.Data(), c.control);
}

INSTANTIATE_TEST_SUITE_P(
    GifPalette, GifMask,
    ::testing::Values(MaskCase{"TakesTheFreeLastEntry", DistinctColours(255), {250, 251, 252}, 256, 255,
                               {0x21, 0xF9, 0x04, 0x01, 0x0A, 0x00, 0xFF, 0x00}},
                      MaskCase{"FindsTheFirstEqualEntry", {{1, 1, 1}, {5, 5, 5}, {5, 5, 5}}, {5, 5, 5}, 3, 1, {}},
                      MaskCase{"InAFullTableGivesNoTransparency", DistinctColours(256), {3, 3, 3}, 256, -1,
                               {0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00}}),
    [](const ::testing::TestParamInfo<MaskCase>& info) { return info.param.name; });

TEST(GifWriter, SingleFrameLayout)
{
    const wxImage frame = PaletteImage(3, 2, {{255, 0, 0}, {0, 0, 255}}, {0, 1, 1});
    const Bytes data = WriteFrames({frame}, 250);
    const std::size_t header = 13 + 6 + kLoopExtension.size();
    EXPECT_EQ(Slice(data, 0, 13), Concat({Text("GIF89a"), {3, 0, 2, 0, 0x80, 0, 0}}));
    EXPECT_EQ(Slice(data, header, 8), (Bytes{0x21, 0xF9, 0x04, 0x00, 25, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Slice(data, header + 8, 11), (Bytes{0x2C, 0, 0, 0, 0, 3, 0, 2, 0, 0x00, 2}));
    EXPECT_EQ(data.back(), 0x3B);
}

TEST(GifWriter, LaterFrameCarriesALocalTable)
{
    const wxImage first = PaletteImage(2, 2, {{0, 0, 0}, {255, 255, 255}}, {0, 1});
    const wxImage second = PaletteImage(2, 2, DistinctColours(256), {0, 17, 255, 3});
    const Bytes data = WriteFrames({first, second}, 100);
    const GiflibFile decoded = DecodeWithGiflib(data);
    ASSERT_TRUE(decoded.ok);
    ASSERT_EQ(decoded.frames.size(), 2u);
    EXPECT_TRUE(SameRgb(decoded.frames[1], second));

    // The second descriptor: separator, rect, packed 0x87, then 768 table bytes.
    const Bytes descriptor = {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x87};
    const auto at = std::search(data.begin() + 13, data.end(), descriptor.begin(), descriptor.end());
    ASSERT_NE(at, data.end());
    EXPECT_EQ(at + 10 + 768 + 1 < data.end(), true);
    EXPECT_EQ(*(at + 10 + 768), 8); // LZW minimum code size
}

TEST(GifWriter, OddWidthAndFramesOfDifferentSizes)
{
    const std::vector<GifRgb> colours = DistinctColours(5);
    const wxImage first = PaletteImage(5, 3, colours, {0, 1, 2, 3, 4, 4, 2});
    const wxImage second = PaletteImage(2, 7, colours, {4, 3});
    const wxImage third = PaletteImage(9, 1, colours, {1, 2});
    const Bytes data = WriteFrames({first, second, third}, 70);

    const GiflibFile decoded = DecodeWithGiflib(data);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.screenWidth, 5);
    EXPECT_EQ(decoded.screenHeight, 3);
    ASSERT_EQ(decoded.frames.size(), 3u);
    const wxImage* expected[] = {&first, &second, &third};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(decoded.frames[i].left, 0);
        EXPECT_EQ(decoded.frames[i].top, 0);
        EXPECT_TRUE(SameRgb(decoded.frames[i], *expected[i])) << "frame " << i;
        EXPECT_EQ(decoded.frames[i].delayCs, 7);
    }
    EXPECT_EQ(decoded.loopCount, 0);
}

TEST(GifWriter, RoundTripThroughTheToolkitDecoder)
{
    const std::vector<GifRgb> colours = DistinctColours(200);
    std::vector<int> pattern;
    for (int i = 0; i < 997; ++i)
        pattern.push_back((i * 31) % 200);
    const wxImage first = PaletteImage(41, 23, colours, pattern);
    const wxImage second = PaletteImage(41, 23, colours, {7, 7, 7, 199, 0});
    const Bytes data = WriteFrames({first, second}, 120);
    const WxDecodedGif decoded = DecodeWithWx(data);
    ASSERT_TRUE(decoded.ok);
    ASSERT_EQ(decoded.frames.size(), 2u);
    EXPECT_TRUE(SamePixels(decoded.frames[0], first));
    EXPECT_TRUE(SamePixels(decoded.frames[1], second));
    EXPECT_EQ(decoded.delaysMs[0], 120);
}

TEST(GifWriter, RefusesFramesItCannotWriteTruthfully)
{
    CapturedGifStream capture;
    MyGifHandler handler;
    wxImage noPalette(4, 4);
    EXPECT_FALSE(GifWriteFrame(noPalette, handler, 100, 1, 0));

    // 257 distinct colours against a 256-entry palette.
    wxImage tooMany = PaletteImage(257, 1, DistinctColours(256), {0});
    for (int x = 0; x < 257; ++x)
        tooMany.SetRGB(x, 0, x & 0xFF, x >> 8, 200);
    EXPECT_FALSE(GifWriteFrame(tooMany, handler, 100, 1, 0));
    EXPECT_TRUE(capture.Data().empty());
}

TEST(GifWriter, FailingStreamStopsAtOnce)
{
    const wxImage frame = PaletteImage(64, 64, DistinctColours(256), {0, 9, 77, 200, 13});
    for (std::size_t limit : {std::size_t(3), std::size_t(11), std::size_t(100), std::size_t(900)}) {
        FailingOutputStream stream(limit);
        CurrentGifStream = &stream;
        MyGifHandler handler;
        EXPECT_FALSE(GifWriteFrame(frame, handler, 100, 1, 0)) << limit;
        EXPECT_EQ(stream.WritesAfterFailure(), 0) << limit;
        CurrentGifStream = nullptr;
    }
}
