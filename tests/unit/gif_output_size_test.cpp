#include "encode/gif_output_size.h"

#include <gtest/gtest.h>

TEST(GifDefaultOutputSize, ALargerFrameReplacesThePairWhole)
{
    EXPECT_EQ(GifDefaultOutputSize({}), wxSize(0, 0));
    EXPECT_EQ(GifDefaultOutputSize({{300, 100}, {200, 200}}), wxSize(200, 200));
    EXPECT_EQ(GifDefaultOutputSize({{200, 200}, {300, 100}}), wxSize(300, 100));
    EXPECT_EQ(GifDefaultOutputSize({{640, 480}, {320, 240}, {640, 480}}), wxSize(640, 480));
    EXPECT_EQ(GifDefaultOutputSize({{800, 600}, {1024, 768}}), wxSize(1024, 768));
}
