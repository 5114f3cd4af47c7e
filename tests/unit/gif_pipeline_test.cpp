#include "gif_test_decoders.h"
#include "pillow_gif.h"
#include "test_clips.h"
#include "test_paths.h"

#include "encode/gif_pipeline.h"
#include "encode/gif_prepare_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// A picture of a few flat colours; `shift` moves the pattern.
wxImage Flat(int width, int height, int shift = 0)
{
    static const unsigned char colours[5][3] = {
        {250, 250, 250}, {30, 30, 30}, {200, 40, 40}, {40, 160, 60}, {20, 60, 200}};
    wxImage image(width, height, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* c = colours[((x / 3) + (y / 2) * 2 + shift) % 5];
            image.SetRGB(x, y, c[0], c[1], c[2]);
        }
    return image;
}

wxImage With(wxImage image, const std::vector<wxPoint>& points)
{
    image = image.Copy();
    for (const wxPoint& p : points)
        image.SetRGB(p.x, p.y, 128, 128, 128);
    return image;
}

std::vector<wxPoint> Line(wxPoint from, wxPoint step, int count)
{
    std::vector<wxPoint> points;
    for (int i = 0; i < count; ++i)
        points.push_back(from + wxPoint(step.x * i, step.y * i));
    return points;
}

// A busy band over `busyRows` rows, the rest of `base` still and one pixel
// changed in the last row: a long run of kept pixels between changes, which
// the compressor may start afresh with a clear code.
wxImage BusyBandAbove(const wxImage& base, int busyRows)
{
    wxImage image = base.Copy();
    const wxImage band = Flat(base.GetWidth(), busyRows, 2);
    image.Paste(band, 0, 0);
    image.SetRGB(base.GetWidth() / 2, base.GetHeight() - 1, 128, 128, 128);
    return image;
}

// A plain white picture with a 4x4 block at (x, y): moving it uncovers
// white pixels next to white ones kept.
wxImage BlockOnWhite(int width, int height, int x, int y)
{
    wxImage image(width, height, false);
    std::fill(image.GetData(), image.GetData() + width * height * 3, 255);
    for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 4; ++dx)
            image.SetRGB(x + dx, y + dy, 20, 20, dx == dy ? 200 : 20);
    return image;
}

// Part of the picture see-through, by alpha or by mask colour.
wxImage SeeThrough(int width, int height, bool mask)
{
    wxImage image = Flat(width, height, 1);
    if (mask) {
        image.SetMaskColour(30, 30, 30);
        return image;
    }
    image.InitAlpha();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            image.SetAlpha(x, y, static_cast<unsigned char>(x * 12));
    return image;
}

struct ComposeCase {
    const char* name;
    std::vector<wxImage> frames;
    wxRect secondFrame; // the rectangle the second frame covers
};

Bytes EncodeFrames(const std::vector<wxImage>& frames, int quality, unsigned threads)
{
    GifEncodeSettings settings;
    settings.width = frames[0].GetWidth();
    settings.height = frames[0].GetHeight();
    settings.delayCs = 7;
    settings.threads = threads;
    settings.quality = quality;
    wxMemoryOutputStream out;
    EXPECT_TRUE(EncodeGifAnimation(out, frames.size(), [&](std::size_t i) { return frames[i].Copy(); }, settings));
    Bytes bytes(out.GetLength());
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

std::vector<Bytes> PillowFrames(const Bytes& bytes, const wxSize& size)
{
    TempDir dir;
    return ComposeWithPillow(WriteFileBytes(dir.File("out.gif"), bytes), size.GetWidth(), size.GetHeight());
}

std::vector<Bytes> FfmpegShown(const Bytes& bytes)
{
    TempDir dir;
    std::vector<Bytes> shown;
    for (const wxImage& frame : FfmpegFrames(WriteFileBytes(dir.File("out.gif"), bytes), dir.Path()))
        shown.emplace_back(frame.GetData(), frame.GetData() + frame.GetWidth() * frame.GetHeight() * 3);
    return shown;
}

} // namespace

TEST(GifPipeline, BytesDoNotDependOnTheThreadCount)
{
    const Bytes one = Encode(1);
    for (unsigned threads : {2u, 3u, 8u})
        EXPECT_EQ(Encode(threads), one) << threads << " threads";
}

// Each frame after the first covers only what changed, the rest of it
// transparent; what giflib and Pillow show after every frame is still the
// whole prepared frame.
TEST(GifPipeline, ChangedRectanglesComposeToTheWholeFrames)
{
    const int w = 40, h = 30;
    const wxImage base = Flat(w, h);
    const std::vector<ComposeCase> cases = {
        {"nothing changes", {base, base, base}, {0, 0, 1, 1}},
        {"one pixel", {base, With(base, {{17, 11}}), base}, {17, 11, 1, 1}},
        {"each edge",
         {base, With(base, Line({0, 3}, {0, 1}, 6)), With(base, Line({5, 0}, {1, 0}, 35)),
          With(base, Line({w - 1, 0}, {0, 1}, h)), With(base, Line({0, h - 1}, {1, 0}, 2)),
          With(base, {{0, 0}, {w - 1, h - 1}})},
         {0, 3, 1, 6}},
        {"everything", {base, Flat(w, h, 2), Flat(w, h, 3)}, {0, 0, w, h}},
        {"block moving over white",
         {BlockOnWhite(w, h, 11, 7), BlockOnWhite(w, h, 5, 5), BlockOnWhite(w, h, 8, 6)},
         {5, 5, 10, 6}},
        {"long still run", {Flat(64, 60), BusyBandAbove(Flat(64, 60), 10), Flat(64, 60)}, {0, 0, 64, 60}},
        {"see-through source", {base, SeeThrough(w, h, false), SeeThrough(w, h, true), base}, {0, 0, w, h}},
        {"1x1", {Flat(1, 1), Flat(1, 1), Flat(1, 1, 1), Flat(1, 1)}, {0, 0, 1, 1}},
        {"65535 wide", {Flat(65535, 1), With(Flat(65535, 1), {{65534, 0}}), Flat(65535, 1, 1)}, {65534, 0, 1, 1}},
    };
    for (const ComposeCase& test : cases) {
        SCOPED_TRACE(test.name);
        const wxSize size = test.frames[0].GetSize();
        std::vector<Bytes> expected;
        for (const wxImage& frame : test.frames) {
            wxImage work;
            const wxImage prepared = PrepareGifFrame(frame, work, size);
            expected.emplace_back(prepared.GetData(), prepared.GetData() + size.GetWidth() * size.GetHeight() * 3);
        }
        const Bytes bytes = EncodeFrames(test.frames, kGifMaxQuality, 2);
        const GiflibFile gif = DecodeWithGiflib(bytes);
        ASSERT_TRUE(gif.ok);
        ASSERT_EQ(gif.frames.size(), test.frames.size());
        const GiflibFrame& second = gif.frames[1];
        EXPECT_EQ(wxRect(second.left, second.top, second.width, second.height), test.secondFrame);
        for (const GiflibFrame& frame : gif.frames)
            EXPECT_EQ(frame.delayCs, 7);
        EXPECT_EQ(gif.loopCount, 0);
        EXPECT_TRUE(ComposeGiflibFrames(gif) == expected) << "giflib";
        const auto pillow = PillowFrames(bytes, size);
        ASSERT_FALSE(pillow.empty()) << "Pillow (python3-pil) is needed";
        EXPECT_TRUE(pillow == expected) << "Pillow";
    }
}

// Dithered frames of more than 256 colours, exact and lossy, and a frame
// large enough for the edge-aware dithering: where the source stays, the
// shown pixels stay too, and three decoders show the same.
TEST(GifPipeline, DitheringStaysStillWhereTheSourceDoes)
{
    struct Case {
        int quality;
        int width;
        int height;
    };
    for (const Case& test : {Case{kGifDefaultQuality, 128, 64}, Case{30, 128, 64}, Case{kGifDefaultQuality, 1000, 1000}}) {
        SCOPED_TRACE(testing::Message() << "quality " << test.quality << ", " << test.width << " wide");
        const int w = test.width, h = test.height;
        // A gradient with grain: thousands of colours that differ little between neighbours.
        std::mt19937 random(5);
        std::uniform_int_distribution<int> noise(-3, 3);
        // A flat band along the top, as wide as the frame (a letterbox bar).
        wxImage gradient(w, h, false);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                gradient.SetRGB(x, y, std::clamp(x * 255 / w + noise(random), 0, 255),
                                std::clamp(y * 255 / h + noise(random), 0, 255),
                                std::clamp((x + y) * 255 / (w + h) + noise(random), 0, 255));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < w; ++x)
                gradient.SetRGB(x, y, 0, 0, 0);
        // A square appears, then strips on both sides of it in the same rows:
        // the third frame's rectangle covers the square, which must stay.
        const auto paint = [](wxImage image, const wxRect& area, int red) {
            image = image.Copy();
            for (int y = area.GetTop(); y <= area.GetBottom(); ++y)
                for (int x = area.GetLeft(); x <= area.GetRight(); ++x)
                    image.SetRGB(x, y, red - x, 90, y * 3);
            return image;
        };
        const wxImage square = paint(gradient, {10, 20, 15, 10}, 255);
        const wxImage strips = paint(paint(square, {0, 15, 3, 20}, 120), {100, 15, 3, 20}, 220);
        const std::vector<wxImage> frames = {gradient, square, strips, strips, gradient};
        const Bytes bytes = EncodeFrames(frames, test.quality, 3);
        EXPECT_EQ(EncodeFrames(frames, test.quality, 1), bytes) << "one thread";
        const GiflibFile gif = DecodeWithGiflib(bytes);
        ASSERT_TRUE(gif.ok);
        const auto shown = ComposeGiflibFrames(gif);
        ASSERT_EQ(shown.size(), frames.size());
        EXPECT_TRUE(PillowFrames(bytes, gradient.GetSize()) == shown) << "Pillow and giflib differ";
        EXPECT_TRUE(FfmpegShown(bytes) == shown) << "ffmpeg and giflib differ";

        const std::size_t bytesPerFrame = std::size_t(w) * h * 3;
        int stillDiffers = 0, sourceFar = 0;
        for (std::size_t f = 1; f < frames.size(); ++f)
            for (std::size_t at = 0; at < bytesPerFrame; at += 3)
                if (std::memcmp(frames[f - 1].GetData() + at, frames[f].GetData() + at, 3) == 0)
                    stillDiffers += std::memcmp(&shown[f - 1][at], &shown[f][at], 3) != 0;
        for (std::size_t at = 0; at < bytesPerFrame; ++at)
            sourceFar += std::abs(shown[0][at] - gradient.GetData()[at]) > 40;
        EXPECT_EQ(stillDiffers, 0);
        EXPECT_EQ(sourceFar, 0);
    }
}

// Photo content moving over a still picture whose colours it shares (a
// patch gliding across a photo): the moving pixels take the first frame's
// table, written with no table of their own, and still show their source.
TEST(GifPipeline, MovingPhotoOverStillPictureTakesTheFirstTable)
{
    // 200 colours in tiles, each pixel off its tile's colour by a little:
    // tens of thousands of colours that 256 entries fit closely.
    std::mt19937 random(9);
    std::uniform_int_distribution<int> noise(-2, 2);
    const int w = 400, h = 300;
    wxImage still(w, h, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int tile = (y / 15) * 20 + x / 20;
            still.SetRGB(x, y, 20 + tile % 10 * 22 + noise(random), 30 + tile / 10 % 20 * 11 + noise(random),
                         128 + noise(random));
        }
    wxImage moved = still.Copy();
    moved.Paste(still.GetSubImage({0, 0, 150, 150}), 200, 120);
    const std::vector<wxImage> frames = {still, moved};
    const Bytes bytes = EncodeFrames(frames, kGifDefaultQuality, 2);
    EXPECT_EQ(EncodeFrames(frames, kGifDefaultQuality, 1), bytes) << "one thread";
    const GiflibFile gif = DecodeWithGiflib(bytes);
    ASSERT_EQ(gif.FrameCount(), 2);
    EXPECT_FALSE(gif.frames[1].localTable);
    const auto shown = ComposeGiflibFrames(gif);
    EXPECT_TRUE(PillowFrames(bytes, still.GetSize()) == shown) << "Pillow and giflib differ";
    int far = 0;
    for (std::size_t at = 0; at < shown[1].size(); ++at)
        far += std::abs(shown[1][at] - moved.GetData()[at]) > 40;
    EXPECT_EQ(far, 0);
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
