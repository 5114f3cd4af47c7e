#include "rules/output_size.h"
#include "rules/status_text.h"

#include <gtest/gtest.h>

TEST(OutputSize, CouplingFollowsTheReference)
{
    const wxSize reference(640, 480);
    EXPECT_EQ(CoupledHeight(320, reference, 0), 240);
    EXPECT_EQ(CoupledWidth(75, reference, 0), 100);
    EXPECT_EQ(CoupledHeight(100, reference, 0), 75);
    EXPECT_EQ(CoupledWidth(120, reference, 0), 160);
    // Truncated, not rounded.
    EXPECT_EQ(CoupledHeight(101, reference, 0), 75);
}

TEST(OutputSize, CouplingWithoutReferenceKeepsTheOtherSide)
{
    EXPECT_EQ(CoupledHeight(320, wxSize(0, 480), 55), 55);
    EXPECT_EQ(CoupledWidth(75, wxSize(640, 0), 66), 66);
    EXPECT_EQ(CoupledWidth(75, wxSize(0, 0), 66), 66);
}

TEST(OutputSize, LargeValuesDoNotOverflow)
{
    // 65535 * 65535 does not fit an int.
    EXPECT_EQ(CoupledHeight(65535, wxSize(65535, 65535), 0), 65535);
}

TEST(StatusText, OutputNameAndSize)
{
    EXPECT_EQ(OutputStatusText("", 320, 240), "Untitled.gif (320 * 240)px");
    EXPECT_EQ(OutputStatusText("anim.gif", 160, 120), "anim.gif (160 * 120)px");
    EXPECT_EQ(OutputStatusText("100%d.gif", 1, 2), "100%d.gif (1 * 2)px");
}

TEST(StatusText, FrameDetails)
{
    EXPECT_EQ(FrameDetailsText("frame01.png", 640, 480), "frame01.png Width:640px,Height:480 px");
    EXPECT_EQ(FrameDetailsText("100%.png", 1, 2), "100%.png Width:1px,Height:2 px");
}
