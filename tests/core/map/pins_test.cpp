// Pins are checked on the pixels of the map image.
#include "core/cards/card_store.h"
#include "core/map/pins.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

QImage whiteMap()
{
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

void expectBluePinAt120x45(const QImage& img)
{
    // The square's corners, edges and inside; the circle's four extreme points.
    for (const QPoint p : {QPoint(114, 39), QPoint(126, 39), QPoint(114, 51), QPoint(126, 51), QPoint(120, 39),
                           QPoint(114, 45), QPoint(126, 45), QPoint(120, 51), QPoint(120, 45), QPoint(115, 40),
                           QPoint(130, 45), QPoint(110, 45), QPoint(120, 35), QPoint(120, 55)})
        EXPECT_EQ(img.pixel(p), qRgb(0, 0, 255)) << p.x() << "," << p.y();
    // Nothing beyond the circle; between square and circle the map shows through.
    for (const QPoint p : {QPoint(131, 45), QPoint(120, 34), QPoint(113, 45), QPoint(127, 45), QPoint(120, 38)})
        EXPECT_EQ(img.pixel(p), kWhite) << p.x() << "," << p.y();
}

}  // namespace

TEST(PinColours, MarkersAndSwatches)
{
    const QColor pins[] = {{64, 64, 64},     {192, 0, 0},      {0, 0, 255},    {0, 192, 0},
                           {255, 255, 128}, {128, 128, 255}, {255, 128, 255}};
    for (int m = 1; m <= 7; ++m) {
        EXPECT_EQ(tb::pinColor(m), pins[m - 1]) << m;
        EXPECT_EQ(tb::swatchColor(m), m == 6 ? QColor(192, 192, 255) : pins[m - 1]) << m;
    }
    for (int m : {0, 8, -1}) {
        EXPECT_FALSE(tb::pinColor(m).isValid());
        EXPECT_FALSE(tb::swatchColor(m).isValid());
    }
}

TEST(DrawPin, ExactPixelsInEveryFormatNoPinForOtherMarkersClippedAtEdges)
{
    for (auto f : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888, QImage::Format_Indexed8}) {
        QImage img = whiteMap().convertToFormat(f);
        tb::drawPin(img, 3, 120, 45);
        SCOPED_TRACE(int(f));
        expectBluePinAt120x45(img);
    }
    QImage img = whiteMap();
    tb::drawPin(img, 0, 50, 50);
    tb::drawPin(img, 8, 50, 50);
    tb::drawPins(img, {{9, 50, 50}, {-1, 60, 60}, {0, 70, 70}, {2147483647, 80, 80}});
    EXPECT_EQ(img, whiteMap());
    for (const QPointF p : {QPointF(0, 0), QPointF(299, 199), QPointF(-9, 100), QPointF(305, 205), QPointF(-1e6, 1e6)})
        tb::drawPin(img, 6, p.x(), p.y());
    EXPECT_EQ(img.pixel(0, 6), qRgb(128, 128, 255));
    EXPECT_EQ(img.pixel(1, 100), qRgb(128, 128, 255));  // circle of the pin left of the edge
    QImage null;
    tb::drawPin(null, 3, 10, 10);
    EXPECT_TRUE(null.isNull());
}
