#include "map/photo_layout.h"

#include <gtest/gtest.h>

TEST(PhotoLayout, SmallerInBothDirectionsIsDrawnUnscaledAndCentred)
{
    EXPECT_EQ(tb::photoRect({100, 50}, {200, 150}), QRect(50, 50, 100, 50));
    EXPECT_EQ(tb::photoRect({199, 149}, {200, 150}), QRect(0, 0, 199, 149));
    EXPECT_EQ(tb::photoRect({1, 1}, {3, 3}), QRect(1, 1, 1, 1));
}

TEST(PhotoLayout, WiderThanHighFitsWidthThenHeight)
{
    // Same size as the frame counts as larger: ratio 1.
    EXPECT_EQ(tb::photoRect({200, 150}, {200, 150}), QRect(0, 0, 200, 150));
    // Width first: 400x100 -> 200x50, centred vertically.
    EXPECT_EQ(tb::photoRect({400, 100}, {200, 150}), QRect(0, 50, 200, 50));
    // Only one side larger still scales.
    EXPECT_EQ(tb::photoRect({250, 50}, {200, 150}), QRect(0, 55, 200, 40));
    // Width first gives 200x180, too tall: height ratio instead -> 166.67x150.
    EXPECT_EQ(tb::photoRect({400, 360}, {200, 150}), QRect(16, 0, 167, 150));
}

TEST(PhotoLayout, NotWiderThanHighFitsHeightThenWidth)
{
    EXPECT_EQ(tb::photoRect({100, 300}, {200, 150}), QRect(75, 0, 50, 150));
    EXPECT_EQ(tb::photoRect({300, 300}, {200, 150}), QRect(25, 0, 150, 150));
    EXPECT_EQ(tb::photoRect({200, 210}, {100, 150}), QRect(0, 22, 100, 105));
}

TEST(PhotoLayout, EmptyImageOrFrameGivesEmptyRect)
{
    EXPECT_TRUE(tb::photoRect({0, 0}, {200, 150}).isEmpty());
    EXPECT_TRUE(tb::photoRect({100, 100}, {0, 0}).isEmpty());
    // A huge photo still gives at least one pixel.
    EXPECT_EQ(tb::photoRect({100000, 1}, {200, 150}), QRect(0, 74, 200, 1));
}
