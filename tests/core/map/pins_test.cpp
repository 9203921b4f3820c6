// Pins on the pixels of the map image, and the pin index that answers pins
// and map clicks without reading the records.
#include "core/cards/card_store.h"
#include "core/map/hit_test.h"
#include "core/map/pin_index.h"
#include "core/map/pins.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;
using Hits = std::vector<long long>;

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
    // The square's corners and inside; the circle's four extreme points.
    for (const QPoint p : {QPoint(114, 39), QPoint(126, 39), QPoint(114, 51), QPoint(126, 51), QPoint(120, 45),
                           QPoint(130, 45), QPoint(110, 45), QPoint(120, 35), QPoint(120, 55)})
        EXPECT_EQ(img.pixel(p), qRgb(0, 0, 255)) << p.x() << "," << p.y();
    // Nothing beyond the circle; between square and circle the map shows through.
    for (const QPoint p : {QPoint(131, 45), QPoint(120, 34), QPoint(113, 45), QPoint(120, 38)})
        EXPECT_EQ(img.pixel(p), kWhite) << p.x() << "," << p.y();
}

struct PinIndexTest : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    CardStore store{folder};
    tb::PinIndex index;
};

}  // namespace

TEST(PinColours, MarkersAndSwatches)
{
    const QColor pins[] = {{64, 64, 64},     {192, 0, 0},      {0, 0, 255},    {0, 192, 0},
                           {255, 255, 128}, {128, 128, 255}, {255, 128, 255}};
    for (int m = 1; m <= 7; ++m) {
        EXPECT_EQ(tb::pinColor(m), pins[m - 1]) << m;
        EXPECT_EQ(tb::swatchColor(m), m == 6 ? QColor(192, 192, 255) : pins[m - 1]) << m;
    }
    for (int m : {0, 8})
        EXPECT_FALSE(tb::pinColor(m).isValid() || tb::swatchColor(m).isValid()) << m;
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
    tb::drawPin(img, 8, 50, 50);
    tb::drawPins(img, {{9, 50, 50}, {-1, 60, 60}, {0, 70, 70}, {2147483647, 80, 80}});
    EXPECT_EQ(img, whiteMap());
    for (const QPointF p : {QPointF(0, 0), QPointF(-9, 100), QPointF(305, 205), QPointF(-1e6, 1e6)})
        tb::drawPin(img, 6, p.x(), p.y());
    EXPECT_EQ(img.pixel(0, 6), qRgb(128, 128, 255));
    EXPECT_EQ(img.pixel(1, 100), qRgb(128, 128, 255));  // circle of the pin left of the edge
    QImage null;
    tb::drawPin(null, 3, 10, 10);
    EXPECT_TRUE(null.isNull());
}

TEST_F(PinIndexTest, ClicksFindActiveCardsInTheStrictSquare)
{
    writeCards(folder, {makeCard("A", "a", 3, 100, 100), makeCard("B", "b", 0, 100, 100),
                        makeCard("C", "c", 1, 300, 300), makeCard("D", "d", 7, 103, 97)});
    ASSERT_TRUE(index.load(store, 4));
    EXPECT_EQ(index.cardsAt(100, 100), (Hits{1, 4}));
    EXPECT_EQ(index.cardsAt(95, 95), (Hits{1}));
    EXPECT_EQ(index.cardsAt(94, 100), (Hits{}));
    EXPECT_TRUE(tb::pinHit(105.9, 94.1, 100, 100));
    EXPECT_FALSE(tb::pinHit(100, 106, 100, 100));
    // A card stored elsewhere moves its pin; a count past the file lists what exists.
    index.set(1, makeCard("A", "a", 0, 100, 100));
    EXPECT_EQ(index.cardsAt(100, 100), (Hits{4}));
    ASSERT_TRUE(index.load(store, 999));
    EXPECT_EQ(index.cardsAt(300, 300), (Hits{3}));
}

TEST_F(PinIndexTest, DrawsActiveCardsAndNothingForHugeOrForeignPositions)
{
    std::vector<CardRecord> cards{makeCard("A", "a", 3, 120, 45), makeCard("B", "b", 0, 200, 100),
                                  makeCard("C", "c", 6, 250, 150), makeCard("D", "d", 1, 60, 60)};
    cards[3].fields[0][0] = u'x';
    writeCards(folder, cards);
    ASSERT_TRUE(index.load(store, 4));
    QImage img = whiteMap();
    index.drawAll(img);
    EXPECT_EQ(img.pixel(120, 45), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(194, 100), kWhite);  // archived
    EXPECT_EQ(img.pixel(54, 60), kWhite);    // marker "x"
    EXPECT_EQ(img.pixel(244, 150), qRgb(128, 128, 255));

    // Positions no picture holds: no pin, no crash, and the rest still drawn.
    const std::pair<QString, QString> spots[] = {
        {" 100", " 2147483640"}, {" 9e99", " 9e99"}, {"-2147483", "-2147483640"}, {" 1e38", " -1e38"}};
    for (const auto& [x, y] : spots) {
        CardRecord odd = makeCard("E", "e", 1, 0, 0);
        const QString field1 = (u'1' + x).leftJustified(30 - y.size()) + y;
        odd.fields[0] = field1;
        writeCards(folder, {cards[0], odd});
        ASSERT_TRUE(index.load(store, 2));
        QImage pic = whiteMap();
        index.drawAll(pic);
        EXPECT_EQ(pic.pixel(120, 45), qRgb(0, 0, 255)) << field1.toStdString();
        EXPECT_EQ(index.cardsAt(100, 2147483640.0), Hits{}) << field1.toStdString();
    }
}

TEST(Pins, CrowdedMapsLookAsIfEveryPinWereDrawnInCardOrder)
{
    // Many pins on few centres, some past the edges.
    std::vector<tb::PinSpot> spots;
    for (int i = 0; i < 3000; ++i)
        spots.push_back({1 + i % 7, double((i * 37) % 40) - 5 + (i % 3) * 0.4, double((i * 11) % 30) - 5});
    QImage each = whiteMap(), all = whiteMap();
    for (const tb::PinSpot& s : spots)
        tb::drawPin(each, s.marker, s.x, s.y);
    tb::drawPins(all, spots);
    EXPECT_EQ(all, each);
}
