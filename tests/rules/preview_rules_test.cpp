#include "rules/load_progress.h"
#include "rules/preview_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct PlacementCase {
    const char* name;
    wxSize canvas;
    wxSize frame;
    wxRect drawn;
};

// A camera photo on the canvas of the window's first size (860 x 300 below
// the strip) is the start-up case that used to lose its bottom rows.
const PlacementCase kPlacements[] = {
    {"SmallerStaysAtItsSizeCentred", {400, 300}, {100, 50}, {150, 125, 100, 50}},
    {"SameSizeFillsTheCanvas", {400, 300}, {400, 300}, {0, 0, 400, 300}},
    {"LargerSameAspectFillsTheCanvas", {400, 300}, {800, 600}, {0, 0, 400, 300}},
    {"TallerAspectFitsTheHeight", {400, 300}, {400, 600}, {100, 0, 200, 300}},
    {"WiderAspectFitsTheWidth", {400, 300}, {1600, 400}, {0, 100, 400, 100}},
    {"WiderOnlyInWidthIsScaledDown", {400, 300}, {500, 100}, {0, 110, 400, 80}},
    {"CameraPhotoOnTheStartCanvas", {860, 300}, {4000, 3000}, {230, 0, 400, 300}},
    {"ThinStripKeepsAPixel", {400, 300}, {100000, 10}, {0, 149, 400, 1}},
};

class PreviewPlacementCases : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PreviewPlacementCases, FrameIsFittedCentredAndNeverEnlarged)
{
    const PlacementCase& c = GetParam();
    const wxRect drawn = PreviewPlacement(c.canvas, c.frame);
    EXPECT_EQ(drawn, c.drawn);
    // The rules library links only the toolkit's base, without wxRect::Contains.
    EXPECT_TRUE(drawn.x >= 0 && drawn.y >= 0 && drawn.GetRight() < c.canvas.x &&
                drawn.GetBottom() < c.canvas.y)
        << "drawn outside the canvas";
}

INSTANTIATE_TEST_SUITE_P(Frames, PreviewPlacementCases, ::testing::ValuesIn(kPlacements),
                         [](const ::testing::TestParamInfo<PlacementCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(PreviewPlacement, NothingIsDrawnWithoutExtent)
{
    EXPECT_TRUE(PreviewPlacement(wxSize(400, 300), wxSize(0, 10)).IsEmpty());
    EXPECT_TRUE(PreviewPlacement(wxSize(0, 0), wxSize(10, 10)).IsEmpty());
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
    // A clip's range of 6,000 frames, then a PNG: frame by frame, below 100
    // until the load's last frame, even when the clip gives what it promised.
    EXPECT_EQ(ClipLoadProgress(0, 2, 1, 6000, false), 0);
    EXPECT_EQ(ClipLoadProgress(0, 2, 3000, 6000, false), 25);
    EXPECT_EQ(ClipLoadProgress(0, 2, 6000, 6000, false), 50);
    EXPECT_EQ(ClipLoadProgress(0, 1, 6000, 6000, false), 99);
    EXPECT_EQ(ClipLoadProgress(0, 1, 6001, 6000, false), 99);
    EXPECT_EQ(ClipLoadProgress(0, 1, 5999, 6000, true), 100);
}
