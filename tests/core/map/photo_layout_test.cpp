#include "core/map/photo_layout.h"

#include <gtest/gtest.h>

TEST(PhotoLayout, SmallerInBothDirectionsIsDrawnUnscaledAndCentred)
{
    EXPECT_EQ(tb::photoRect({100, 50}, {200, 150}), QRect(50, 50, 100, 50));
    EXPECT_EQ(tb::photoRect({199, 149}, {200, 150}), QRect(0, 0, 199, 149));
}

TEST(PhotoLayout, LargerIsScaledByOneRatioAndCentred)
{
    EXPECT_EQ(tb::photoRect({200, 150}, {200, 150}), QRect(0, 0, 200, 150));  // equal counts as larger
    EXPECT_EQ(tb::photoRect({250, 50}, {200, 150}), QRect(0, 55, 200, 40));   // one side larger
    // Wider than high: width first, then height when still too tall (166.67 x 150).
    EXPECT_EQ(tb::photoRect({400, 360}, {200, 150}), QRect(16, 0, 167, 150));
    // Square or taller: height first, then width when still too wide.
    EXPECT_EQ(tb::photoRect({300, 300}, {200, 150}), QRect(25, 0, 150, 150));
    EXPECT_EQ(tb::photoRect({200, 210}, {100, 150}), QRect(0, 22, 100, 105));
}

TEST(PhotoLayout, EmptyOrExtremeSizes)
{
    EXPECT_TRUE(tb::photoRect({0, 0}, {200, 150}).isEmpty());
    EXPECT_TRUE(tb::photoRect({100, 100}, {0, 0}).isEmpty());
    EXPECT_EQ(tb::photoRect({100000, 1}, {200, 150}), QRect(0, 74, 200, 1));  // still one pixel high
}
