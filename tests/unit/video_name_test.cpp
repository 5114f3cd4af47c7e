#include "decode/gif_frame_name.h"
#include "decode/video_frame_name.h"
#include "video/video_selection.h"

#include <gtest/gtest.h>

#include <numeric>

TEST(ClipName, TimesInEveryFormAndNothingElse)
{
    const struct {
        const char* text;
        long long ms; // -1: refused
    } cases[] = {
        {"12.5", 12500}, {"0", 0},        {"0.001", 1},  {"1:02.5", 62500}, {"1:00:02", 3602000},
        {"", -1},        {"1.2345", -1},  {"-1", -1},    {"1:60", -1},      {"a", -1},
        {"1::2", -1},    {"1.2.3", -1},   {"1:2:3:4", -1}, {"99999999999", -1},
    };
    for (const auto& c : cases) {
        long long ms = -1;
        EXPECT_EQ(ParseClipTime(c.text, ms), c.ms >= 0) << c.text;
        if (c.ms >= 0) {
            EXPECT_EQ(ms, c.ms) << c.text;
        }
    }
}

TEST(ClipName, FrameAndRangeNamesRoundTripAndOthersAreRefused)
{
    EXPECT_EQ(ClipFrameName("/a/clip.mp4", 12345), "/a/clip.mp4#t=12.345");
    EXPECT_EQ(ClipFrameName("/a/clip.mp4", 1500), "/a/clip.mp4#t=1.5");
    EXPECT_EQ(ClipRangeName("/c.mkv", 1500, 4000, 10), "/c.mkv#t=1.5,4&fps=10");
    EXPECT_EQ(ClipRangeName("/c.mkv", 0, -1, 29.97), "/c.mkv#t=0&fps=29.97");

    ClipName clip;
    ASSERT_TRUE(ParseClipName("/a/b#t=c/clip.mp4#t=12.345", clip));
    EXPECT_EQ(clip.file, "/a/b#t=c/clip.mp4");
    EXPECT_EQ(clip.fromMs, 12345);
    EXPECT_EQ(clip.toMs, -1);
    EXPECT_EQ(clip.fps, 0);
    ASSERT_TRUE(ParseClipName("/c.mkv#t=1.5,4&fps=12.5", clip));
    EXPECT_EQ(clip.file, "/c.mkv");
    EXPECT_EQ(clip.fromMs, 1500);
    EXPECT_EQ(clip.toMs, 4000);
    EXPECT_DOUBLE_EQ(clip.fps, 12.5);

    for (const char* other : {"a.png", "#t=1", "x.mp4#t=", "x.mp4#t=2,1&fps=5", "x.mp4#t=1,2", "x.mp4#t=1&fps=0",
                              "x.mp4#t=1&fps=", "x.mp4#t=1x"})
        EXPECT_FALSE(ParseClipName(other, clip)) << other;

    // What a GIF-only reader makes of a clip frame's name: not a GIF frame.
    EXPECT_EQ(GifFrameNumberFromName("/a/clip.mp4#t=1.5"), -1);
    EXPECT_EQ(GifFrameSourcePath("/a/clip.mp4#t=1.5"), "/a/clip.mp4#t=1.5");
}

TEST(ClipSelection, TimesFollowRangeRateAndEnd)
{
    using Times = std::vector<long long>;
    EXPECT_EQ(ClipFrameTimes(0, -1, 10, 1000), (Times{0, 100, 200, 300, 400, 500, 600, 700, 800, 900}));
    EXPECT_EQ(ClipFrameTimes(500, 1500, 4, 10000), (Times{500, 750, 1000, 1250}));
    EXPECT_EQ(ClipFrameTimes(0, -1, 3, 1000), (Times{0, 333, 667}));
    EXPECT_EQ(ClipFrameTimes(0, 5000, 10, 250), (Times{0, 100, 200}));
    EXPECT_EQ(ClipFrameTimes(2000, -1, 10, 1000), Times{});
    EXPECT_EQ(ClipFrameTimes(0, -1, 50, 1LL << 40).size(), size_t(kMaxClipFrames));
    EXPECT_EQ(ClipFrameTimes(0, -1, 0, 1000), Times{});
    EXPECT_EQ(ClipFrameTimes(0, -1, 51, 1000), Times{});
}

TEST(ClipSelection, DelaysKeepTheClipsSpeed)
{
    const std::vector<int> delays = ClipFrameDelays(6, 30);
    EXPECT_EQ(delays, (std::vector<int>{3, 4, 3, 3, 4, 3}));
    EXPECT_EQ(std::accumulate(delays.begin(), delays.end(), 0), 20);
    EXPECT_EQ(ClipFrameDelays(3, 10), (std::vector<int>{10, 10, 10}));
    EXPECT_EQ(ClipDelayForFps(30), 3);
    EXPECT_EQ(ClipDelayForFps(10), 10);
    EXPECT_EQ(ClipDelayForFps(50), 2);
    EXPECT_DOUBLE_EQ(ClipFpsForDelay(10), 10);
    EXPECT_DOUBLE_EQ(ClipFpsForDelay(4), 25);
    EXPECT_DOUBLE_EQ(ClipFpsForDelay(0), kMaxClipFps);
    EXPECT_DOUBLE_EQ(ClipFpsForDelay(1), kMaxClipFps);
}
