// Geometry of what is shown: clicks rounded down to whole map pixels, pins'
// centres on screen, the zoom's steps, bounds and opening value, a photo fitted to its frame.
#include "core/map/map_zoom.h"
#include "core/map/photo_layout.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MapZoomRules, ClicksRoundDownToMapPixelsAndZoomStaysWithinItsBounds)
{
    EXPECT_EQ(tb::mapPixelAt(QPointF(33.69, 16.9), 3.37), QPoint(9, 5));
    EXPECT_EQ(tb::mapPixelAt(QPointF(-0.1, 7.99), 8.0), QPoint(-1, 0));
    EXPECT_EQ(tb::pinCentreOnScreen(120, 45, 1.0), QPoint(120, 45));
    EXPECT_EQ(tb::pinCentreOnScreen(120, 45, 8.0), QPoint(964, 364));
    EXPECT_EQ(tb::clampZoom(0.1), 0.25);
    EXPECT_EQ(tb::clampZoom(12), 8.0);
    EXPECT_EQ(tb::nextZoom(1.0, +1), 1.25);
    EXPECT_EQ(tb::nextZoom(3.37, -1), 3.0);
    EXPECT_EQ(tb::nextZoom(8.0, +1), 8.0);
    EXPECT_EQ(tb::nextZoom(0.25, -1), 0.25);
    EXPECT_EQ(tb::fitZoom(QSize(900, 860), QSize(450, 860)), 0.5);

    // No kept zoom: the whole map in view, unless it fits; a kept one, even 100 %, is used.
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QSize map(900, 860);
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(800, 600)), (tb::ZoomSetting{true, 1.0}));
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(900, 860)), (tb::ZoomSetting{false, 1.0}));
    EXPECT_EQ(tb::openingZoom(folder, QSize(), QSize(10, 10)), (tb::ZoomSetting{false, 1.0}));
    testing_support::writeBytes(folder + "zoom.txt", "100\r\n");
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(800, 600)), (tb::ZoomSetting{false, 1.0}));
    testing_support::writeBytes(folder + "zoom.txt", "400\r\n");
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(800, 600)), (tb::ZoomSetting{false, 4.0}));
}

TEST(PhotoLayout, SmallerIsDrawnUnscaledLargerScaledByOneRatioAndBothCentred)
{
    EXPECT_EQ(tb::photoRect({100, 50}, {200, 150}), QRect(50, 50, 100, 50));
    EXPECT_EQ(tb::photoRect({200, 150}, {200, 150}), QRect(0, 0, 200, 150));  // equal counts as larger
    EXPECT_EQ(tb::photoRect({250, 50}, {200, 150}), QRect(0, 55, 200, 40));   // one side larger
    // Wider than high: width first, then height when still too tall (166.67 x 150).
    EXPECT_EQ(tb::photoRect({400, 360}, {200, 150}), QRect(16, 0, 167, 150));
    // Square or taller: height first, then width when still too wide.
    EXPECT_EQ(tb::photoRect({300, 300}, {200, 150}), QRect(25, 0, 150, 150));
    EXPECT_EQ(tb::photoRect({200, 210}, {100, 150}), QRect(0, 22, 100, 105));
    EXPECT_TRUE(tb::photoRect({0, 0}, {200, 150}).isEmpty());
    EXPECT_TRUE(tb::photoRect({100, 100}, {0, 0}).isEmpty());
    EXPECT_EQ(tb::photoRect({100000, 1}, {200, 150}), QRect(0, 74, 200, 1));  // still one pixel high
}
