#include "gif_test_decoders.h"

#include "encode/gif_pipeline.h"
#include "encode/gif_prepare_frame.h"
#include "palette/gif_reduce_colours.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Frames of different kinds and sizes: photo-like noise, flat colours, a
// picture larger than the output and one smaller.
wxImage SourceFrame(std::size_t index)
{
    std::mt19937 random(unsigned(index) + 11);
    std::uniform_int_distribution<int> byte(0, 255);
    const int width = index % 3 == 0 ? 120 : index % 3 == 1 ? 40 : 80;
    const int height = index % 3 == 0 ? 50 : 30;
    wxImage image(width, height, false);
    unsigned char* rgb = image.GetData();
    for (int i = 0; i < width * height * 3; ++i)
        rgb[i] = index % 2 ? static_cast<unsigned char>(byte(random)) : static_cast<unsigned char>((i / 3) % 7 * 30);
    return image;
}

constexpr std::size_t kFrames = 7;

GifEncodeSettings Settings(unsigned threads)
{
    GifEncodeSettings settings;
    settings.width = 80;
    settings.height = 40;
    settings.delayCs = 25;
    settings.threads = threads;
    return settings;
}

Bytes Encode(unsigned threads, std::vector<std::size_t>* progress = nullptr)
{
    wxMemoryOutputStream out;
    const bool ok = EncodeGifAnimation(out, kFrames, SourceFrame, Settings(threads),
                                       [&](std::size_t written) {
                                           if (progress)
                                               progress->push_back(written);
                                       });
    EXPECT_TRUE(ok);
    Bytes bytes(out.GetLength());
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

} // namespace

TEST(GifPipeline, BytesDoNotDependOnTheThreadCount)
{
    const Bytes one = Encode(1);
    for (unsigned threads : {2u, 3u, 8u})
        EXPECT_EQ(Encode(threads), one) << threads << " threads";
}

TEST(GifPipeline, EveryPixelDecodesToTheReducedFrame)
{
    std::vector<std::size_t> progress;
    const Bytes bytes = Encode(3, &progress);
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7}));

    const GiflibFile gif = DecodeWithGiflib(bytes);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.screenWidth, 80);
    EXPECT_EQ(gif.screenHeight, 40);
    EXPECT_EQ(gif.loopCount, 0);
    ASSERT_EQ(gif.frames.size(), kFrames);
    const WxDecodedGif wx = DecodeWithWx(bytes);
    ASSERT_TRUE(wx.ok);
    ASSERT_EQ(wx.frames.size(), kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) {
        wxImage work;
        wxImage prepared = PrepareGifFrame(SourceFrame(i), work, wxSize(80, 40));
        const wxImage reduced = ReduceGifColours(prepared);
        EXPECT_EQ(gif.frames[i].delayCs, 25);
        EXPECT_EQ(gif.frames[i].transparentIndex, -1);
        EXPECT_TRUE(SameRgb(gif.frames[i], reduced)) << "giflib, frame " << i;
        EXPECT_TRUE(SamePixels(wx.frames[i], reduced)) << "wxGIFDecoder, frame " << i;
        EXPECT_EQ(wx.delaysMs[i], 250);
    }
}

TEST(GifPipeline, CancelStopsBeforeTheNextFrame)
{
    std::atomic<bool> cancel{false};
    wxMemoryOutputStream out;
    std::size_t written = 0;
    const bool ok = EncodeGifAnimation(out, kFrames, SourceFrame, Settings(2),
                                       [&](std::size_t n) {
                                           written = n;
                                           if (n == 2)
                                               cancel = true;
                                       },
                                       &cancel);
    EXPECT_FALSE(ok);
    EXPECT_EQ(written, 2u);
}

TEST(GifPipeline, WriteFailureStops)
{
    FailingOutputStream out(100);
    std::size_t written = 0;
    EXPECT_FALSE(EncodeGifAnimation(out, kFrames, SourceFrame, Settings(2),
                                    [&](std::size_t n) { written = n; }));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(out.WritesAfterFailure(), 0);
}

TEST(GifPipeline, RefusesSizesAGifCannotHold)
{
    wxMemoryOutputStream out;
    GifEncodeSettings settings = Settings(1);
    settings.width = 0;
    EXPECT_FALSE(EncodeGifAnimation(out, kFrames, SourceFrame, settings));
    settings.width = 70000;
    EXPECT_FALSE(EncodeGifAnimation(out, kFrames, SourceFrame, settings));
    // Within the format's sides but too many pixels to hold several frames at once.
    settings.width = 20000;
    settings.height = 20000;
    EXPECT_FALSE(EncodeGifAnimation(out, kFrames, SourceFrame, settings));
    EXPECT_TRUE(IsGifOutputSizeAllowed(10000, 10000));
    EXPECT_FALSE(IsGifOutputSizeAllowed(10001, 10000));
    EXPECT_FALSE(EncodeGifAnimation(out, 0, SourceFrame, Settings(1)));
    EXPECT_EQ(out.GetLength(), 0);
}
