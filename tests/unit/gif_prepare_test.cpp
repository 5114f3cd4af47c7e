#include "encode/gif_prepare_frame.h"

#include "decode/picture_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const wxSize kOutput(200, 100);

wxImage Filled(int width, int height, unsigned char red, unsigned char green, unsigned char blue)
{
    wxImage image(width, height, false);
    image.SetRGB(wxRect(0, 0, width, height), red, green, blue);
    return image;
}

// The smallest rectangle holding every pixel that is not black.
wxRect PictureArea(const wxImage& frame)
{
    int left = frame.GetWidth(), top = frame.GetHeight(), right = -1, bottom = -1;
    for (int y = 0; y < frame.GetHeight(); ++y)
        for (int x = 0; x < frame.GetWidth(); ++x)
            if (frame.GetRed(x, y) || frame.GetGreen(x, y) || frame.GetBlue(x, y)) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? wxRect() : wxRect(left, top, right - left + 1, bottom - top + 1);
}

wxRect Placed(int sourceWidth, int sourceHeight)
{
    wxImage work;
    const wxImage frame = PrepareGifFrame(Filled(sourceWidth, sourceHeight, 200, 100, 50), work, kOutput);
    EXPECT_EQ(frame.GetSize(), kOutput);
    EXPECT_FALSE(frame.HasAlpha());
    EXPECT_FALSE(frame.HasMask());
    return PictureArea(frame);
}

} // namespace

TEST(GifPrepareFrame, WidePictureScaledAndCentredVertically)
{
    EXPECT_EQ(Placed(400, 100), wxRect(0, 25, 200, 50));
}

TEST(GifPrepareFrame, PictureScaledToExactlyTheOutput)
{
    EXPECT_EQ(Placed(400, 200), wxRect(0, 0, 200, 100));
}

TEST(GifPrepareFrame, SmallPictureCentredNotEnlarged)
{
    EXPECT_EQ(Placed(50, 40), wxRect(75, 30, 50, 40));
}

TEST(GifPrepareFrame, ScaledSizeIsTruncated)
{
    EXPECT_EQ(Placed(201, 30), wxRect(0, 35, 200, 29));
}

TEST(GifPrepareFrame, OddMarginPutsTheExtraPixelRightAndBelow)
{
    EXPECT_EQ(Placed(51, 41), wxRect(74, 29, 51, 41));
}

TEST(GifPrepareFrame, PictureOfSizeZeroGivesBlack)
{
    wxImage work;
    const wxImage frame = PrepareGifFrame(wxImage(), work, kOutput);
    ASSERT_EQ(frame.GetSize(), kOutput);
    EXPECT_EQ(PictureArea(frame), wxRect());
}

TEST(GifPrepareFrame, ExtremeAspectKeepsOnePixel)
{
    EXPECT_EQ(Placed(4000, 1), wxRect(0, 49, 200, 1));
}

TEST(GifPrepareFrame, MaskedPixelsShowBlack)
{
    wxImage picture = Filled(200, 100, 10, 20, 30);
    picture.SetRGB(wxRect(0, 0, 5, 5), 255, 0, 255);
    picture.SetMaskColour(255, 0, 255);
    wxImage work;
    const wxImage frame = PrepareGifFrame(picture, work, kOutput);
    EXPECT_EQ(frame.GetRed(0, 0), 0);
    EXPECT_EQ(frame.GetBlue(4, 4), 0);
    EXPECT_EQ(frame.GetRed(5, 5), 10);
    EXPECT_FALSE(frame.HasMask());
}

TEST(GifPrepareFrame, AlphaBlendsOverBlack)
{
    wxImage picture = Filled(50, 40, 200, 100, 250);
    picture.InitAlpha();
    picture.SetAlpha(0, 0, 0);
    picture.SetAlpha(1, 0, 128);
    wxImage work;
    const wxImage frame = PrepareGifFrame(picture, work, kOutput);
    EXPECT_EQ(frame.GetRed(75, 30), 0);
    EXPECT_EQ(frame.GetRed(76, 30), 100);
    EXPECT_EQ(frame.GetBlue(76, 30), 125);
    EXPECT_EQ(frame.GetRed(77, 30), 200);
    EXPECT_FALSE(frame.HasAlpha());
}

TEST(GifPrepareFrame, FineDetailAveragesInsteadOfAliasing)
{
    // One-pixel stripes scaled by 1/2.6: picking pixels would leave bands of
    // black and white; averaging two or three pixels leaves greys.
    wxImage stripes(520, 260, false);
    for (int y = 0; y < stripes.GetHeight(); ++y)
        for (int x = 0; x < stripes.GetWidth(); ++x) {
            const unsigned char value = x % 2 ? 255 : 0;
            stripes.SetRGB(x, y, value, value, value);
        }
    wxImage work;
    const wxImage frame = PrepareGifFrame(stripes, work, kOutput);
    for (int x = 10; x < 190; x += 7)
        EXPECT_NEAR(frame.GetRed(x, 50), 128, 43) << x;
}

TEST(GifPrepareFrame, DecodeSizeIsTwiceTheScaledSizeAtMost)
{
    const struct {
        wxSize picture, frame, decode;
    } cases[] = {
        {{4000, 3000}, {800, 600}, {1600, 1200}},
        {{3000, 4000}, {800, 600}, {900, 1200}},
        {{1000, 750}, {800, 600}, {1000, 750}},
        {{300, 200}, {800, 600}, {300, 200}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreparedDecodeSize(c.picture, c.frame), c.decode) << c.picture.x << "x" << c.picture.y;
}

TEST(PictureScale, AveragesWhatEachPixelCoversAtAnyShape)
{
    // Red holds the pixel's number, so each result names the pixels averaged.
    const auto numbered = [](int width, int height, bool alpha) {
        wxImage picture(width, height, false);
        if (alpha)
            picture.SetAlpha();
        for (int i = 0; i < width * height; ++i) {
            picture.GetData()[3 * i] = static_cast<unsigned char>(10 * i);
            if (alpha)
                picture.GetAlpha()[i] = static_cast<unsigned char>(i % 2 ? 255 : 0);
        }
        return picture;
    };
    const struct {
        wxSize from, to;
        bool alpha;
        std::vector<int> red, alpha_;
    } cases[] = {
        {{4, 2}, {2, 1}, false, {25, 45}, {}},          // (0+10+40+50)/4, (20+30+60+70)/4
        {{3, 1}, {2, 1}, true, {0, 15}, {0, 128}},      // uneven runs: {0}, {1, 2}
        {{2, 1}, {4, 1}, false, {0, 0, 10, 10}, {}},    // enlarging repeats pixels
    };
    for (const auto& c : cases) {
        const wxImage scaled = ScaleByAveraging(numbered(c.from.x, c.from.y, c.alpha), c.to.x, c.to.y);
        ASSERT_EQ(scaled.GetSize(), c.to);
        ASSERT_EQ(scaled.HasAlpha(), c.alpha);
        for (size_t i = 0; i < c.red.size(); ++i) {
            EXPECT_EQ(scaled.GetData()[3 * i], c.red[i]) << c.from.x << "x" << c.from.y << " pixel " << i;
            if (c.alpha) {
                EXPECT_EQ(scaled.GetAlpha()[i], c.alpha_[i]) << i;
            }
        }
    }
    // Shapes on which the toolkit's box averaging reads past its buffers.
    for (const wxSize& from : {wxSize(4, 65537), wxSize(16, 140000)}) {
        wxImage grey(from, false);
        std::fill_n(grey.GetData(), 3 * size_t(from.x) * from.y, 77);
        grey.SetAlpha();
        std::fill_n(grey.GetAlpha(), size_t(from.x) * from.y, 200);
        const wxImage scaled = ScaleByAveraging(grey, from.x / 4, from.y / 4 + 1);
        ASSERT_TRUE(scaled.IsOk());
        EXPECT_EQ(scaled.GetRed(0, scaled.GetHeight() - 1), 77);
        EXPECT_EQ(scaled.GetAlpha(scaled.GetWidth() - 1, scaled.GetHeight() - 1), 200);
    }
}
