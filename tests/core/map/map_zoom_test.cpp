// The zoom's arithmetic: clicks rounded down to whole map pixels, pins' centres
// on screen, the zoom's steps and bounds.
#include "core/map/map_zoom.h"

#include <gtest/gtest.h>

TEST(MapZoomRules, ClicksRoundDownToMapPixelsAndZoomStaysWithinItsBounds)
{
    EXPECT_EQ(tb::mapPixelAt(QPointF(33.69, 16.9), 3.37), QPoint(9, 5));
    EXPECT_EQ(tb::mapPixelAt(QPointF(-0.1, 7.99), 8.0), QPoint(-1, 0));
    EXPECT_EQ(tb::mapPixelAt(QPointF(50, 50), 0.25), QPoint(200, 200));
    EXPECT_EQ(tb::pinCentreOnScreen(120, 45, 1.0), QPoint(120, 45));
    EXPECT_EQ(tb::pinCentreOnScreen(120, 45, 8.0), QPoint(964, 364));
    EXPECT_EQ(tb::clampZoom(0.1), 0.25);
    EXPECT_EQ(tb::clampZoom(12), 8.0);
    EXPECT_EQ(tb::nextZoom(1.0, +1), 1.25);
    EXPECT_EQ(tb::nextZoom(3.37, -1), 3.0);
    EXPECT_EQ(tb::nextZoom(8.0, +1), 8.0);
    EXPECT_EQ(tb::nextZoom(0.25, -1), 0.25);
    EXPECT_EQ(tb::fitZoom(QSize(900, 860), QSize(450, 860)), 0.5);
}
