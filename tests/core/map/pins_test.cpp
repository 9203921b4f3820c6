// Pins on the map image, the pin index behind clicks, and crowded pins on a zoomed map: each on its
// own card, the map still visible under 100,000 cards.
#include "core/cards/card_store.h"
#include "core/db/demo_database.h"
#include "core/map/hit_test.h"
#include "core/map/map_zoom.h"
#include "core/map/pin_index.h"
#include "core/map/pin_layer.h"
#include "core/map/pins.h"
#include "support/fixtures.h"

#include <QPainter>
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

// The marker whose colour is nearest to c; 0 for the white background.
int markerSeen(QColor c)
{
    auto distance = [&](QColor m) {
        return (c.red() - m.red()) * (c.red() - m.red()) + (c.green() - m.green()) * (c.green() - m.green()) +
               (c.blue() - m.blue()) * (c.blue() - m.blue());
    };
    if (distance(Qt::white) < 3 * 40 * 40)  // this close to white: no pin
        return 0;
    int best = 1;
    for (int m = 2; m <= 7; ++m)
        if (distance(tb::pinColor(m)) < distance(tb::pinColor(best)))
            best = m;
    return best;
}

}  // namespace

TEST(DrawPin, ExactColoursAndPixelsInEveryFormatNoPinForOtherMarkersClippedAtEdges)
{
    const QColor pins[] = {{64, 64, 64},     {192, 0, 0},      {0, 0, 255},    {0, 192, 0},
                           {255, 255, 128}, {128, 128, 255}, {255, 128, 255}};
    for (int m = 1; m <= 7; ++m) {
        EXPECT_EQ(tb::pinColor(m), pins[m - 1]) << m;
        EXPECT_EQ(tb::swatchColor(m), m == 6 ? QColor(192, 192, 255) : pins[m - 1]) << m;
    }
    for (int m : {0, 8})
        EXPECT_FALSE(tb::pinColor(m).isValid() || tb::swatchColor(m).isValid()) << m;

    for (auto f : {QImage::Format_RGB32, QImage::Format_Indexed8}) {  // drawn in place, then converted
        QImage img = whiteMap().convertToFormat(f);
        tb::drawPin(img, 3, 120, 45);
        SCOPED_TRACE(int(f));
        // The square's corners and inside; the circle's four extreme points.
        for (const QPoint p : {QPoint(114, 39), QPoint(126, 39), QPoint(114, 51), QPoint(126, 51), QPoint(120, 45),
                               QPoint(130, 45), QPoint(110, 45), QPoint(120, 35), QPoint(120, 55)})
            EXPECT_EQ(img.pixel(p), qRgb(0, 0, 255)) << p.x() << "," << p.y();
        // Nothing beyond the circle; between square and circle the map shows through.
        for (const QPoint p : {QPoint(131, 45), QPoint(120, 34), QPoint(113, 45), QPoint(120, 38)})
            EXPECT_EQ(img.pixel(p), kWhite) << p.x() << "," << p.y();
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

TEST(PinIndex, ClicksFindAndDrawingShowsActiveCardsOnlyNothingForHugeOrForeignPositions)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const CardStore store(folder);
    tb::PinIndex index;
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

    // Drawn: active cards only.
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

TEST(PinLayer, AHundredThousandDemoCardsLeaveMostOfTheMapVisible)
{
    TempProgramFolder program;
    auto db = tb::createDemoDatabase(program.path(), QStringLiteral("Demo"), 100000, 1);
    ASSERT_TRUE(db.ok());
    const tb::PinIndex& index = db.value()->pins();
    std::vector<tb::Pin> pins;
    for (long long n = 1; n <= index.size(); ++n)
        pins.push_back(index.at(n));
    const QImage map = QImage(program.file("frc.gif")).convertToFormat(QImage::Format_RGB32);
    tb::PinLayer layer;
    layer.setPins(pins);
    layer.setView(map.size(), 1.0);
    QImage shown = map;
    layer.draw(shown, shown.rect());
    qint64 same = 0;
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x)
            same += shown.pixel(x, y) == map.pixel(x, y);
    EXPECT_GE(same * 2, qint64(map.width()) * map.height());
}

TEST(PinLayer, CrowdedSquaresAreBlendedAsThePainterBlendsThemInsideAndAcrossThePicturesEdges)
{
    // Three crowds, each in one cell (drawn in card order): inside, on the
    // right edge, in the top left corner.
    const std::vector<tb::Pin> pins = {{100, 100, 1}, {102, 101, 2}, {104, 100, 3}, {798, 400, 4},
                                       {795, 402, 5}, {1, 2, 6},     {3, 3, 7}};
    tb::PinLayer layer;
    layer.setPins(pins);
    layer.setView(QSize(800, 800), 1.0);
    QImage image(800, 800, QImage::Format_RGB32);
    image.fill(QColor(40, 160, 220));
    QImage painted = image;
    layer.draw(image, image.rect());
    QPainter painter(&painted);
    for (const tb::Pin& p : pins) {
        QColor edge = tb::pinColor(p.marker).darker(170), centre = tb::pinColor(p.marker);
        edge.setAlpha(190);
        centre.setAlpha(190);
        painter.fillRect(QRect(int(p.x) - 2, int(p.y) - 2, 5, 5), edge);
        painter.fillRect(QRect(int(p.x) - 1, int(p.y) - 1, 3, 3), centre);
    }
    painter.end();
    EXPECT_TRUE(image == painted);
}

TEST(PinLayer, ALonePinIsWholeAndEachCrowdedSquareIsCentredOnItsCardInsideItsHitSquareInItsColour)
{
    // Two neighbours, a crowd of three a pixel or two apart, an archived card, one alone far away.
    const std::vector<tb::Pin> pins = {{516, 516, 4}, {530, 516, 7}, {300, 300, 2}, {302, 301, 3},
                                       {304, 300, 6}, {200, 200, 0}, {100, 100, 1}};
    tb::PinLayer layer;
    layer.setPins(pins);
    layer.setView(QSize(800, 800), 1.0);
    QImage image(800, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    layer.draw(image, image.rect());
    // Alone: the square and the circle of radius 10, as drawPin makes them.
    QImage alone(800, 800, QImage::Format_RGB32);
    alone.fill(Qt::white);
    tb::drawPin(alone, 1, 100, 100);
    EXPECT_TRUE(image.copy(80, 80, 41, 41) == alone.copy(80, 80, 41, 41));
    EXPECT_EQ(image.pixelColor(200, 200), QColor(Qt::white));  // archived: no pin

    for (size_t i = 0; i < 5; ++i) {
        const tb::Pin& p = pins[i];
        // Every pixel of the card's colour around it: their box is centred on
        // the card's point and lies strictly inside its hit square (no circle).
        QRect box;
        for (int y = int(p.y) - 12; y <= int(p.y) + 12; ++y)
            for (int x = int(p.x) - 12; x <= int(p.x) + 12; ++x)
                if (markerSeen(image.pixelColor(x, y)) == p.marker)
                    box |= QRect(x, y, 1, 1);
        SCOPED_TRACE(testing::Message() << "card " << i + 1);
        ASSERT_FALSE(box.isEmpty());
        EXPECT_TRUE(tb::pinHit(box.left(), box.top(), p.x, p.y));
        EXPECT_TRUE(tb::pinHit(box.right(), box.bottom(), p.x, p.y));
        if (i < 2)
            EXPECT_EQ(box.center(), QPoint(int(p.x), int(p.y)));
    }
    // Between the two neighbours, the map.
    EXPECT_EQ(markerSeen(image.pixelColor(523, 516)), 0);
    EXPECT_EQ(markerSeen(image.pixelColor(522, 522)), 0);

    // Zoomed in, the neighbours pull apart and are whole again, at their size on screen.
    layer.setView(QSize(800, 800), 8.0);
    const QPoint a = tb::pinCentreOnScreen(516, 516, 8.0);
    const QRect area(a - QPoint(20, 20), QSize(160, 40));
    QImage zoomed(area.size(), QImage::Format_RGB32);
    zoomed.fill(Qt::white);
    layer.draw(zoomed, area);
    EXPECT_EQ(zoomed.pixelColor(20 + 10, 20), tb::pinColor(4));
    EXPECT_EQ(zoomed.pixelColor(20 - 7, 20), QColor(Qt::white));
    const QPoint b = tb::pinCentreOnScreen(530, 516, 8.0) - area.topLeft();
    EXPECT_EQ(zoomed.pixelColor(b), tb::pinColor(7));
}
