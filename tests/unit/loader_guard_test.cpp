#include "decode/gif_decode.h"
#include "decode/picture_format.h"
#include "decode/picture_loader.h"

#include "test_paths.h"

#include <wx/dir.h>
#include <wx/file.h>
#include <wx/imagbmp.h>
#include <wx/wfstream.h>

#include <gtest/gtest.h>

#include <webp/encode.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

int CountFromMemory(const Bytes& bytes, PictureRead read, int frame = -1)
{
    return LoadPicturesFromMemory(bytes.data(), bytes.size(), read, frame, [](wxImage&&, int) { return true; });
}

int CountFile(const wxString& path)
{
    return LoadPictures(path, [](wxImage&&, int) { return true; });
}

wxImage LoadOne(const wxString& path)
{
    wxImage result;
    LoadPictures(path, [&](wxImage&& picture, int) {
        result = picture;
        return true;
    });
    return result;
}

void Put16(Bytes& b, unsigned v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

// A GIF with a two-colour global table and the given screen size.
Bytes GifHeader(unsigned width, unsigned height)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, width);
    Put16(b, height);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});
    return b;
}

// Appends an image descriptor and its data: one pixel of colour 0 in 2-bit
// LZW codes (clear, 0, end), whatever size the descriptor declares.
void AddFrame(Bytes& b, unsigned left, unsigned top, unsigned width, unsigned height, unsigned char flags = 0,
              unsigned char lzwMinimumCodeSize = 2)
{
    b.push_back(0x2C);
    Put16(b, left);
    Put16(b, top);
    Put16(b, width);
    Put16(b, height);
    b.push_back(flags);
    b.insert(b.end(), {lzwMinimumCodeSize, 2, 0x44, 0x01, 0});
}

constexpr unsigned char kInterlaced = 0x40;

int LargestDifference(const wxImage& a, const wxImage& b)
{
    int worst = 0;
    for (int i = 0; i < a.GetWidth() * a.GetHeight() * 3; ++i)
        worst = std::max(worst, std::abs(a.GetData()[i] - b.GetData()[i]));
    return worst;
}

wxString Corpus(const char* relative)
{
    return CorpusDir() + "/" + relative;
}

} // namespace

// GIFs whose header or frames declare more than the loader takes: how many
// frames still come out.
struct GifFrameDesc {
    unsigned width, height;
    unsigned char lzwMinimumCodeSize;
};

struct GifGuardCase {
    const char* name;
    unsigned screenWidth, screenHeight;
    std::vector<GifFrameDesc> frames;
    int framesLoaded;
};

void PrintTo(const GifGuardCase& c, std::ostream* out)
{
    *out << c.name;
}

class GifGuard : public ::testing::TestWithParam<GifGuardCase> {};

TEST_P(GifGuard, LoadsOnlyWhatItCanHold)
{
    const GifGuardCase& c = GetParam();
    Bytes gif = GifHeader(c.screenWidth, c.screenHeight);
    for (const GifFrameDesc& frame : c.frames)
        AddFrame(gif, 0, 0, frame.width, frame.height, 0, frame.lzwMinimumCodeSize);
    gif.push_back(0x3B);
    EXPECT_EQ(CountFromMemory(gif, PictureRead::AllGifFrames), c.framesLoaded);
}

INSTANTIATE_TEST_SUITE_P(
    LoaderGuard, GifGuard,
    ::testing::Values(GifGuardCase{"HugeScreenYieldsNothing", 60000, 60000, {{60000, 60000, 2}}, 0},
                      GifGuardCase{"FrameOverTheLimitEndsTheFile", 1, 1,
                                   {{1, 1, 2}, {65535, 65535, 2}, {1, 1, 2}}, 1},
                      // A minimum code size beyond the format's 11 bits: that frame is not loaded.
                      GifGuardCase{"OversizedLzwCodeSizeIsSafe", 1, 1, {{1, 1, 2}, {1, 1, 12}}, 1}),
    [](const ::testing::TestParamInfo<GifGuardCase>& info) { return info.param.name; });

TEST(LoaderGuard, GifZeroSizedInterlacedFramesAreSkippedSafely)
{
    Bytes gif = GifHeader(4, 4);
    AddFrame(gif, 0, 0, 0, 4, kInterlaced);
    AddFrame(gif, 0, 0, 4, 0, kInterlaced);
    AddFrame(gif, 1, 1, 1, 1);
    gif.push_back(0x3B);
    std::vector<wxImage> pictures;
    LoadPicturesFromMemory(gif.data(), gif.size(), PictureRead::AllGifFrames, -1, [&](wxImage&& p, int) {
        pictures.push_back(p);
        return true;
    });
    ASSERT_EQ(pictures.size(), 3u);
    EXPECT_EQ(pictures[2].GetSize(), wxSize(4, 4));
    EXPECT_EQ(pictures[2].GetAlpha(1, 1), 255);
    EXPECT_EQ(pictures[2].GetAlpha(0, 0), 0);
}

TEST(LoaderGuard, GifFrameWithShortDataDoesNotEndTheAnimation)
{
    // The second frame declares 4x4 pixels but its data ends after one: not
    // a row of it decodes, so it is skipped, and the third still follows.
    Bytes gif = GifHeader(4, 4);
    AddFrame(gif, 0, 0, 1, 1);
    AddFrame(gif, 0, 0, 4, 4);
    AddFrame(gif, 2, 2, 1, 1);
    gif.push_back(0x3B);
    std::vector<wxImage> pictures;
    std::vector<int> frames;
    LoadPicturesFromMemory(gif.data(), gif.size(), PictureRead::AllGifFrames, -1, [&](wxImage&& p, int frame) {
        pictures.push_back(p);
        frames.push_back(frame);
        return true;
    });
    ASSERT_EQ(frames, (std::vector<int>{0, 2}));
    EXPECT_EQ(pictures[1].GetAlpha(0, 0), 255);
    EXPECT_EQ(pictures[1].GetAlpha(2, 2), 255);
    EXPECT_EQ(pictures[1].GetAlpha(3, 3), 0);
}

TEST(LoaderGuard, GifTruncatedInAFrameKeepsTheFramesBefore)
{
    const wxString path = Corpus("gif/gif-test-suite/animated_loop.gif");
    wxFile file(path);
    if (!file.IsOpened())
        GTEST_SKIP() << "corpus not found";
    Bytes bytes(file.Length());
    ASSERT_EQ(file.Read(bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    const int whole = CountFromMemory(bytes, PictureRead::AllGifFrames);
    ASSERT_EQ(whole, 4);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        Bytes head(bytes.begin(), bytes.begin() + cut);
        EXPECT_LE(CountFromMemory(head, PictureRead::AllGifFrames), whole);
    }
    Bytes half(bytes.begin(), bytes.begin() + bytes.size() / 2);
    EXPECT_GE(CountFromMemory(half, PictureRead::AllGifFrames), 1);
}

TEST(LoaderGuard, GifFileWorkIsBounded)
{
    // One-pixel frames between frames that declare the largest size allowed
    // (with one pixel of data): the declared pixels use up the file's budget,
    // so the pictures stop after the third pair.
    static_assert(kMaxGifFilePixels / kMaxPicturePixels == 3, "the frames below assume a budget of three");
    Bytes gif = GifHeader(1, 1);
    for (int i = 0; i < 10; ++i) {
        AddFrame(gif, 0, 0, 1, 1);
        AddFrame(gif, 0, 0, 10000, 10000);
    }
    gif.push_back(0x3B);
    EXPECT_EQ(CountFromMemory(gif, PictureRead::AllGifFrames), 3);

    // A larger file earns a budget in proportion to its bytes: 200 frames on
    // a 2000x2000 screen need 800 million pixels, more than the small-file
    // budget allows, and come whole once the file holds 256 KB (here in a
    // comment).
    for (const bool padded : {false, true}) {
        Bytes screen = GifHeader(2000, 2000);
        for (int block = 0; padded && block < 1028; ++block) {
            screen.insert(screen.end(), {0x21, 0xFE, 255});
            screen.insert(screen.end(), 255, 'x');
            screen.push_back(0);
        }
        for (int i = 0; i < 200; ++i)
            AddFrame(screen, 0, 0, 1, 1);
        screen.push_back(0x3B);
        EXPECT_EQ(CountFromMemory(screen, PictureRead::AllGifFrames), padded ? 200 : 74) << padded;
    }
}

TEST(LoaderGuard, GifFrameCountIsBounded)
{
    Bytes gif = GifHeader(1, 1);
    for (int i = 0; i < kMaxGifFrames + 10; ++i)
        AddFrame(gif, 0, 0, 1, 1);
    gif.push_back(0x3B);
    EXPECT_EQ(CountFromMemory(gif, PictureRead::AllGifFrames), kMaxGifFrames);
}

TEST(LoaderGuard, NamedBombsAndBrokenFilesYieldNothing)
{
    if (!wxFileExists(Corpus("gif/pillow/decompression_bomb.gif")))
        GTEST_SKIP() << "corpus not found";
    for (const char* file :
         {"gif/pillow/decompression_bomb.gif", "gif/synthetic/gif-bomb-60000x60000.gif",
          "gif/synthetic/gif-bomb-screen-65535x65535-frame-1x1.gif", "misc/synthetic/bmp-bomb-60000x60000-24bpp.bmp",
          "misc/synthetic/bmp-bomb-60000x-60000-32bpp-bitfields-topdown.bmp",
          "misc/synthetic/jpeg-bomb-60000x60000-baseline.jpg", "misc/synthetic/png-bomb-60000x60000-rgb.png",
          "bmpsuite/b/reallybig.bmp"})
        EXPECT_EQ(CountFile(Corpus(file)), 0) << file;
}

TEST(LoaderGuard, SecondFrameBombKeepsTheFirstFrame)
{
    const wxString path = Corpus("gif/synthetic/gif-bomb-second-frame-65535x65535.gif");
    if (!wxFileExists(path))
        GTEST_SKIP() << "corpus not found";
    EXPECT_LE(CountFile(path), 1);
}

TEST(LoaderGuard, BadRleBmpsDecodeWithinTheirBounds)
{
    if (!wxFileExists(Corpus("bmpsuite/b/badrle4.bmp")))
        GTEST_SKIP() << "corpus not found";
    const wxImage rle4 = LoadOne(Corpus("bmpsuite/b/badrle4.bmp"));
    ASSERT_TRUE(rle4.IsOk());
    EXPECT_EQ(rle4.GetSize(), wxSize(127, 64));
    const wxImage extend = LoadOne(Corpus("misc/image-rs/bad/bmp/Bad_unusual_extend_buffer_usage.bmp"));
    ASSERT_TRUE(extend.IsOk());
    EXPECT_EQ(extend.GetSize(), wxSize(2554, 18803));
}

TEST(LoaderGuard, TinyBmpDeclaringAHugeSizeIsRefused)
{
    // 118 bytes: file and info headers, 64 bytes of pixels, 20000x20000 24-bit.
    Bytes bmp = {'B', 'M', 118, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0};
    const uint32_t side = 20000;
    for (int i = 0; i < 2; ++i)
        bmp.insert(bmp.end(), {static_cast<unsigned char>(side & 0xFF), static_cast<unsigned char>(side >> 8), 0, 0});
    bmp.insert(bmp.end(), {1, 0, 24, 0});
    bmp.resize(118);
    EXPECT_EQ(CountFromMemory(bmp, PictureRead::StillPicture), 0);
}

TEST(LoaderGuard, JpegIsBoundedByItsCoefficientMemory)
{
    // SOI, then SOF2 of 65500x65500 with three components sampled 1x1.
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xC2, 0, 17, 8, 0xFF, 0xDC, 0xFF, 0xDC, 3, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0};
    JpegFrameInfo frame;
    ASSERT_TRUE(ReadJpegFrame(jpeg.data(), jpeg.size(), frame));
    EXPECT_EQ(frame.size.width, 65500);
    EXPECT_FALSE(IsAcceptablePictureSize(frame.size));
    EXPECT_EQ(CountFromMemory(jpeg, PictureRead::StillPicture), 0);

    // 10000x10000 passes the pixel limit, but a decoder that keeps its
    // coefficients needs 600 MB for them.
    jpeg[7] = jpeg[9] = 0x27;
    jpeg[8] = jpeg[10] = 0x10;
    ASSERT_TRUE(ReadJpegFrame(jpeg.data(), jpeg.size(), frame));
    EXPECT_TRUE(IsAcceptablePictureSize(frame.size));
    EXPECT_EQ(frame.coefficientBytes, 3LL * 1250 * 1250 * 64 * 2);
    EXPECT_EQ(CountFromMemory(jpeg, PictureRead::StillPicture), 0);
}

TEST(LoaderGuard, JpegSizeIsFoundBehindOtherSegments)
{
    // APP0 segment, fill bytes, then SOF0 of 3x2 in one component.
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'x', 'y', 0xFF, 0xFF, 0xC0, 0, 11, 8, 0, 2, 0, 3, 1, 1, 0x11, 0};
    JpegFrameInfo frame;
    ASSERT_TRUE(ReadJpegFrame(jpeg.data(), jpeg.size(), frame));
    EXPECT_EQ(frame.size.width, 3);
    EXPECT_EQ(frame.size.height, 2);
    // A segment length running past the end is no frame header.
    jpeg[5] = 200;
    EXPECT_FALSE(ReadJpegFrame(jpeg.data(), jpeg.size(), frame));
}

TEST(LoaderGuard, FormatsOtherThanTheFourAreRefused)
{
    const std::string pnm = "P6\n1 1\n255\n\xff\x00\x00";
    const std::string xpm = "/* XPM */\nstatic const char* x[] = {\"1 1 1 1\", \"a c #FF0000\", \"a\"};\n";
    const std::string tiff = std::string("II*\0\x08\0\0\0", 8);
    const std::string pcx = std::string("\x0a\x05\x01\x08", 4) + std::string(124, '\0');
    for (const std::string& text : {pnm, xpm, tiff, pcx}) {
        const Bytes bytes(text.begin(), text.end());
        EXPECT_EQ(SniffPictureFormat(bytes.data(), bytes.size()), PictureFormat::Unknown);
        EXPECT_EQ(CountFromMemory(bytes, PictureRead::StillPicture), 0);
    }
}

// A still WebP loads with its pixels and its alpha; one whose header declares
// a huge canvas or that is cut short is refused, and an animated one is left
// to the clip reader.
TEST(LoaderGuard, StillWebPLoadsAndDamagedOnesAreRefused)
{
    const int width = 5, height = 3;
    std::vector<std::uint8_t> rgba(width * height * 4);
    for (size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = static_cast<std::uint8_t>(i * 37);
    for (bool opaque : {true, false}) {
        for (size_t i = 3; i < rgba.size(); i += 4)
            rgba[i] = opaque ? 0xFF : static_cast<std::uint8_t>(i * 11);
        std::uint8_t* encoded = nullptr;
        const size_t size = WebPEncodeLosslessRGBA(rgba.data(), width, height, width * 4, &encoded);
        ASSERT_GT(size, 0u);
        Bytes webp(encoded, encoded + size);
        WebPFree(encoded);
        ASSERT_EQ(SniffPictureFormat(webp.data(), webp.size()), PictureFormat::WebP);
        wxImage loaded;
        ASSERT_EQ(LoadPicturesFromMemory(webp.data(), webp.size(), PictureRead::StillPicture, -1,
                                         [&](wxImage&& picture, int) {
                                             loaded = picture;
                                             return true;
                                         }),
                  1);
        ASSERT_EQ(loaded.GetSize(), wxSize(width, height));
        EXPECT_EQ(loaded.HasAlpha(), !opaque);
        for (int i = 0; i < width * height; ++i) {
            EXPECT_EQ(loaded.GetData()[3 * i + 1], rgba[4 * i + 1]) << i;
            if (!opaque) {
                EXPECT_EQ(loaded.GetAlpha()[i], rgba[4 * i + 3]) << i;
            }
        }

        Bytes cut(webp.begin(), webp.begin() + webp.size() / 2);
        EXPECT_EQ(CountFromMemory(cut, PictureRead::StillPicture), 0);
        // A lossless bitstream holds its width and height less one in 14 bits
        // each after the 0x2F signature byte: 16384 x 16384 is over the limit.
        Bytes huge = webp;
        huge[21] = huge[22] = huge[23] = huge[24] = 0xFF;
        huge[24] &= 0x0F;
        EXPECT_EQ(CountFromMemory(huge, PictureRead::StillPicture), 0);
    }
    Bytes animated = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P', 'V', 'P', '8', 'X', 10, 0, 0, 0, 0x02, 0, 0, 0};
    EXPECT_EQ(SniffPictureFormat(animated.data(), animated.size()), PictureFormat::Unknown);
}

TEST(LoaderGuard, GoodBmpsMatchTheToolkitsReader)
{
    const wxString dir = Corpus("bmpsuite/g");
    if (!wxDirExists(dir))
        GTEST_SKIP() << "corpus not found";
    int compared = 0;
    for (const char* name : {"pal1.bmp", "pal1bg.bmp", "pal4.bmp", "pal4rle.bmp", "pal8.bmp", "pal8rle.bmp",
                             "pal8topdown.bmp", "pal8w124.bmp", "pal8w125.bmp", "pal8w126.bmp", "pal8os2.bmp",
                             "pal8v4.bmp", "pal8v5.bmp",                              "rgb24.bmp", "rgb32.bmp"}) {
        const wxString path = dir + "/" + name;
        if (!wxFileExists(path))
            continue;
        SCOPED_TRACE(name);
        wxImage expected;
        wxFileInputStream stream(path);
        wxBMPHandler bmp;
        ASSERT_TRUE(bmp.LoadFile(&expected, stream, false));
        const wxImage ours = LoadOne(path);
        ASSERT_TRUE(ours.IsOk());
        ASSERT_EQ(ours.GetSize(), expected.GetSize());
        EXPECT_EQ(LargestDifference(ours, expected), 0);
        ++compared;
    }
    EXPECT_GT(compared, 10);
}

TEST(LoaderGuard, SixteenBitBmpsScaleTheirChannelsToFullRange)
{
    // The toolkit's reader leaves 16-bit white at 248; these are the same
    // picture as the 24-bit one, within what 5 bits per channel can say.
    const wxImage reference = LoadOne(Corpus("bmpsuite/g/rgb24.bmp"));
    if (!reference.IsOk())
        GTEST_SKIP() << "corpus not found";
    constexpr int kFiveBitStep = 255 / 31;
    for (const char* name : {"rgb16.bmp", "rgb16-565.bmp", "rgb16bfdef.bmp", "rgb16-565pal.bmp"}) {
        const wxImage ours = LoadOne(Corpus("bmpsuite/g/") + name);
        ASSERT_EQ(ours.GetSize(), reference.GetSize()) << name;
        EXPECT_LE(LargestDifference(ours, reference), kFiveBitStep / 2 + 1) << name;
    }
}

TEST(LoaderGuard, BitFieldBmpsMatchTheirTwentyFourBitTwin)
{
    const wxImage reference = LoadOne(Corpus("bmpsuite/g/rgb24.bmp"));
    if (!reference.IsOk())
        GTEST_SKIP() << "corpus not found";
    for (const char* name : {"rgb32bf.bmp", "rgb32bfdef.bmp", "rgb32.bmp"}) {
        const wxImage ours = LoadOne(Corpus("bmpsuite/g/") + name);
        ASSERT_EQ(ours.GetSize(), reference.GetSize()) << name;
        EXPECT_EQ(LargestDifference(ours, reference), 0) << name;
        EXPECT_FALSE(ours.HasAlpha()) << name;
    }
}

TEST(LoaderGuard, EveryGoodBmpLoads)
{
    wxArrayString files;
    if (!wxDirExists(Corpus("bmpsuite/g")))
        GTEST_SKIP() << "corpus not found";
    wxDir::GetAllFiles(Corpus("bmpsuite/g"), &files, "*.bmp");
    ASSERT_FALSE(files.empty());
    for (const wxString& file : files)
        EXPECT_EQ(CountFile(file), 1) << file;
}

TEST(LoaderGuard, ConcurrentLoadsGiveTheSamePictures)
{
    const wxString path = Corpus("gif/pillow/dispose_bgnd_rgba.gif");
    if (!wxFileExists(path))
        GTEST_SKIP() << "corpus not found";
    const std::vector<wxString> paths = {path, Corpus("pngsuite/basn2c08.png"), Corpus("misc/pillow/hopper.jpg"),
                                         Corpus("bmpsuite/g/pal8rle.bmp")};
    std::vector<int> counts(8, 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < counts.size(); ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round)
                counts[t] += LoadPictures(paths[t % paths.size()], [](wxImage&&, int) { return true; });
        });
    for (std::thread& thread : threads)
        thread.join();
    for (size_t t = 0; t < counts.size(); ++t)
        EXPECT_EQ(counts[t], 5 * CountFile(paths[t % paths.size()]));
}
