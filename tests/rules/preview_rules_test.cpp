#include "rules/load_progress.h"
#include "rules/preview_rules.h"

#include <gtest/gtest.h>

#include <vector>

TEST(PreviewPlacement, SmallFrameStaysAtItsSize)
{
    EXPECT_EQ(PreviewPlacement(wxSize(400, 300), wxSize(100, 50)), wxRect(150, 155, 100, 50));
}

TEST(PreviewPlacement, LargeFrameIsScaledDown)
{
    EXPECT_EQ(PreviewPlacement(wxSize(400, 300), wxSize(800, 600)), wxRect(0, 30, 400, 300));
    EXPECT_EQ(PreviewPlacement(wxSize(400, 300), wxSize(400, 600)), wxRect(100, 30, 200, 300));
}

TEST(PreviewPlacement, FrameWithoutExtentIsNotDrawn)
{
    EXPECT_TRUE(PreviewPlacement(wxSize(400, 300), wxSize(0, 10)).IsEmpty());
}

namespace {
// Plays until the preview stops by itself or `maxTicks` frames were shown.
std::vector<int> Play(int& playIndex, int& loopsPlayed, int loopCount, int frames, int maxTicks)
{
    std::vector<int> shown;
    for (int tick = 0; tick < maxTicks; ++tick) {
        shown.push_back(playIndex);
        if (AdvancePreview(playIndex, loopsPlayed, loopCount, frames))
            break;
    }
    return shown;
}
} // namespace

TEST(PreviewLoop, StopsAfterTheLoopCount)
{
    int playIndex = 0, loopsPlayed = 0;
    EXPECT_EQ(Play(playIndex, loopsPlayed, 2, 3, 100), (std::vector<int>{0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(playIndex, 0);
    EXPECT_EQ(loopsPlayed, 0);
}

TEST(PreviewLoop, EndlessWithLoopCountZero)
{
    int playIndex = 0, loopsPlayed = 0;
    EXPECT_EQ(Play(playIndex, loopsPlayed, 0, 3, 30).size(), 30u);
    EXPECT_EQ(loopsPlayed, 10);
}

TEST(PreviewLoop, ResumingPlaysOnlyTheRemainingPasses)
{
    int playIndex = 0, loopsPlayed = 0;
    Play(playIndex, loopsPlayed, 3, 3, 5); // stopped by hand in the second pass
    EXPECT_EQ(loopsPlayed, 1);
    playIndex = 0; // every stop starts the next playback at frame 0
    EXPECT_EQ(Play(playIndex, loopsPlayed, 3, 3, 100).size(), 6u);
}

TEST(PreviewInterval, DelayInHundredthsShortOnesAsBrowsersPlayThem)
{
    const struct {
        int delay;
        int ms;
    } cases[] = {{50, 500}, {2, 20}, {1, 100}, {0, 100}, {65535, 655350}};
    for (const auto& c : cases)
        EXPECT_EQ(PreviewIntervalMs(c.delay), c.ms) << c.delay;
}

TEST(LoadProgress, MovesOncePerFile)
{
    // A GIF of 3 frames, then a PNG.
    EXPECT_EQ(LoadProgress(0, 2, true, false), 0);
    EXPECT_EQ(LoadProgress(1, 2, false, true), 100);
    // A PNG, then a GIF of 3 frames.
    EXPECT_EQ(LoadProgress(0, 2, false, false), 50);
    EXPECT_EQ(LoadProgress(1, 2, true, false), 50);
    EXPECT_EQ(LoadProgress(1, 2, true, true), 100);
    // Four still pictures.
    EXPECT_EQ(LoadProgress(2, 4, false, false), 75);
    // A single named frame of a GIF counts its entry as done.
    EXPECT_EQ(LoadProgress(0, 3, false, false), 33);
}
