// Pins are checked on the pixels of the map image.
#include "cards/card_store.h"
#include "map/pins.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

QImage whiteMap(int w = 300, int h = 200, QImage::Format f = QImage::Format_RGB32)
{
    QImage img(w, h, f);
    img.fill(Qt::white);
    return img;
}

int countColour(const QImage& img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == c;
    return n;
}

void expectBluePinAt120x45(const QImage& img)
{
    const QRgb blue = qRgb(0, 0, 255);
    // The square's corners and edges.
    for (const QPoint p : {QPoint(114, 39), QPoint(126, 39), QPoint(114, 51), QPoint(126, 51), QPoint(120, 39),
                           QPoint(114, 45), QPoint(126, 45), QPoint(120, 51)})
        EXPECT_EQ(img.pixel(p), blue) << p.x() << "," << p.y();
    // The circle's four extreme points, nothing beyond them.
    for (const QPoint p : {QPoint(130, 45), QPoint(110, 45), QPoint(120, 35), QPoint(120, 55)})
        EXPECT_EQ(img.pixel(p), blue) << p.x() << "," << p.y();
    // The square is filled; between square and circle the map shows through.
    for (const QPoint p : {QPoint(120, 45), QPoint(115, 40)})
        EXPECT_EQ(img.pixel(p), blue) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(131, 45), QPoint(120, 34), QPoint(113, 45), QPoint(127, 45), QPoint(120, 38)})
        EXPECT_EQ(img.pixel(p), kWhite) << p.x() << "," << p.y();
}

struct PinsTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase db{program.path()};
    CardStore store{db.path()};
};

}  // namespace

TEST(PinColours, MarkersAndSwatches)
{
    EXPECT_EQ(tb::pinColor(1), QColor(64, 64, 64));
    EXPECT_EQ(tb::pinColor(2), QColor(192, 0, 0));
    EXPECT_EQ(tb::pinColor(3), QColor(0, 0, 255));
    EXPECT_EQ(tb::pinColor(4), QColor(0, 192, 0));
    EXPECT_EQ(tb::pinColor(5), QColor(255, 255, 128));
    EXPECT_EQ(tb::pinColor(6), QColor(128, 128, 255));
    EXPECT_EQ(tb::pinColor(7), QColor(255, 128, 255));
    EXPECT_EQ(tb::swatchColor(6), QColor(192, 192, 255));
    for (int m : {1, 2, 3, 4, 5, 7})
        EXPECT_EQ(tb::swatchColor(m), tb::pinColor(m));
    for (int m : {0, 8, -1}) {
        EXPECT_FALSE(tb::pinColor(m).isValid());
        EXPECT_FALSE(tb::swatchColor(m).isValid());
    }
}

TEST(DrawPin, SquareAndCircleExactPixels)
{
    for (auto f : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888, QImage::Format_Indexed8}) {
        QImage img = whiteMap().convertToFormat(f);
        tb::drawPin(img, 3, 120, 45);
        SCOPED_TRACE(int(f));
        expectBluePinAt120x45(img);
    }
}

TEST(DrawPin, NoPinForOtherMarkersAndClippedAtEdges)
{
    QImage img = whiteMap();
    tb::drawPin(img, 0, 50, 50);
    tb::drawPin(img, 8, 50, 50);
    EXPECT_EQ(countColour(img, kWhite), 300 * 200);
    for (const QPointF p : {QPointF(0, 0), QPointF(299, 199), QPointF(-9, 100), QPointF(305, 205),
                            QPointF(-1e6, 1e6)})
        tb::drawPin(img, 6, p.x(), p.y());
    EXPECT_EQ(img.pixel(0, 6), qRgb(128, 128, 255));
    EXPECT_EQ(img.pixel(1, 100), qRgb(128, 128, 255));  // circle of the pin left of the edge
    QImage null;
    tb::drawPin(null, 3, 10, 10);
    EXPECT_TRUE(null.isNull());
}

TEST_F(PinsTest, AllPinsFromTheDatabase)
{
    std::vector<CardRecord> cards{makeCard("A", "a", 3, 120, 45), makeCard("B", "b", 0, 200, 100),
                                  makeCard("C", "c", 6, 250, 150)};
    std::array<QString, 20> odd = cards[0].fields;
    odd[0] = QStringLiteral("x 60") + QString(17, u' ') + QStringLiteral(" 60");
    cards.push_back(CardRecord::fromTexts(odd));
    writeCards(db.path(), cards);

    QImage main = whiteMap(), zone = whiteMap();
    QImage null;
    QString count = "old";
    tb::drawAllPins(store, {&main, nullptr, &null, &zone}, &count);
    EXPECT_EQ(count, "4");
    for (const QImage* img : {&main, &zone}) {
        expectBluePinAt120x45(*img);
        EXPECT_EQ(img->pixel(194, 100), kWhite);  // archived card
        EXPECT_EQ(img->pixel(54, 60), kWhite);     // marker "x"
        EXPECT_EQ(img->pixel(244, 150), qRgb(128, 128, 255));
    }
}

TEST_F(PinsTest, EmptyOrMissingDatabaseDrawsNothing)
{
    QImage img = whiteMap();
    QString count = "7";
    tb::drawAllPins(store, {&img}, &count);  // the new database's count is 0
    EXPECT_EQ(count, "0");
    EXPECT_EQ(countColour(img, kWhite), 300 * 200);

    QTemporaryDir empty;
    CardStore none(empty.path() + u'/');
    count = "7";
    tb::drawAllPins(none, {&img}, &count);
    EXPECT_EQ(count, "7");
    EXPECT_EQ(countColour(img, kWhite), 300 * 200);
}

TEST_F(PinsTest, CountBeyondTheFileDrawsTheCardsThatExist)
{
    writeCards(db.path(), {makeCard("A", "a", 3, 120, 45)});
    store.writeCountText("999999999");
    QImage img = whiteMap();
    QString count;
    tb::drawAllPins(store, {&img}, &count);
    EXPECT_EQ(count, "999999999");
    expectBluePinAt120x45(img);
}
