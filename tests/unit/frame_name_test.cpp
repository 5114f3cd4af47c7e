#include "decode/gif_frame_name.h"
#include "io/wtoi.h"

#include <gtest/gtest.h>

TEST(GifFrameName, ReadsTheLastThreeDigits)
{
    EXPECT_EQ(GifFrameNumberFromName("anim.gif_7"), 7);
    EXPECT_EQ(GifFrameNumberFromName("anim.gif_42"), 42);
    EXPECT_EQ(GifFrameNumberFromName("anim.gif_123"), 123);
    EXPECT_EQ(GifFrameNumberFromName("x.gif_1234"), 234);
    EXPECT_EQ(GifFrameNumberFromName("anim.gif"), -1);
    EXPECT_EQ(GifFrameNumberFromName("ANIM.GIF_3"), -1);
    EXPECT_EQ(GifFrameNumberFromName("/old.gif_files/a.png"), 0);
}

TEST(GifFrameName, SourcePathDropsTheSuffix)
{
    EXPECT_EQ(GifFrameSourcePath("anim.gif_7"), "anim.gif");
    EXPECT_EQ(GifFrameSourcePath("anim.gif_42"), "anim.gif");
    EXPECT_EQ(GifFrameSourcePath("/a/anim.gif_123"), "/a/anim.gif");
    EXPECT_EQ(GifFrameSourcePath("x.gif_1234"), "x.gif_");
    EXPECT_EQ(GifFrameSourcePath("/a/b.png"), "/a/b.png");
    EXPECT_EQ(GifFrameName("/a/anim.gif", 12), "/a/anim.gif_12");
}

TEST(WToI, FollowsTheRuntimeRules)
{
    EXPECT_EQ(WToI("110\n"), 110);
    EXPECT_EQ(WToI("  -42x"), -42);
    EXPECT_EQ(WToI("+7"), 7);
    EXPECT_EQ(WToI("abc"), 0);
    EXPECT_EQ(WToI(""), 0);
    EXPECT_EQ(WToI("99999999999"), 2147483647);
}
