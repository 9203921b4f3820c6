#include "core/map/map_zoom.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

// A database that keeps no zoom opens with the whole map in view; one that
// keeps a zoom, even 100 %, opens at it.
TEST(OpeningZoom, WithoutAKeptZoomTheMapIsFittedUnlessItFitsWhole)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QSize map(900, 860);
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(800, 600)), (tb::ZoomSetting{true, 1.0}));
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(1000, 600)), (tb::ZoomSetting{true, 1.0}));
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(900, 860)), (tb::ZoomSetting{false, 1.0}));
    EXPECT_EQ(tb::openingZoom(folder, QSize(), QSize(10, 10)), (tb::ZoomSetting{false, 1.0}));
    writeBytes(folder + "zoom.txt", "100\r\n");
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(800, 600)), (tb::ZoomSetting{false, 1.0}));
    writeBytes(folder + "zoom.txt", "400\r\n");
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(800, 600)), (tb::ZoomSetting{false, 4.0}));
}
