// Pins on the map image, the pin index behind clicks, and crowded pins on a zoomed map: each on its
// own card, the map still visible under 100,000 cards.
#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/db/demo_database.h"
#include "core/exchange/exchange_samples.h"
#include "core/map/default_map.h"
#include "core/map/hit_test.h"
#include "core/map/map_zoom.h"
#include "core/map/photo_layout.h"
#include "core/map/pin_index.h"
#include "core/map/pin_layer.h"
#include "core/map/pins.h"
#include "core/map/preview_image.h"
#include "core/map/zone.h"
#include "support/fixtures.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;
using Hits = std::vector<long long>;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

QImage whiteMap() { return filledImage({300, 200}, Qt::white); }

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
    QImage image = filledImage({800, 800}, Qt::white);
    layer.draw(image, image.rect());
    // Alone: the square and the circle of radius 10, as drawPin makes them.
    QImage alone = filledImage({800, 800}, Qt::white);
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

// The map view's rules: clicks in whole map pixels, the zoom, the department under a click,
// zones, photos fitted to their frame, and images too large or unreadable to load.
TEST(MapZoomRules, ClicksRoundDownToMapPixelsZoomStaysWithinItsBoundsAndPhotosFitTheirFrame)
{
    EXPECT_EQ(tb::mapPixelAt(QPointF(-0.1, 7.99), 8.0), QPoint(-1, 0));
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
    writeBytes(folder + "zoom.txt", "100\r\n");
    EXPECT_EQ(tb::openingZoom(folder, map, QSize(800, 600)), (tb::ZoomSetting{false, 1.0}));

    // A photo smaller than its frame is drawn unscaled, a larger one scaled by one ratio, both centred.
    EXPECT_EQ(tb::photoRect({100, 50}, {200, 150}), QRect(50, 50, 100, 50));
    EXPECT_EQ(tb::photoRect({200, 150}, {200, 150}), QRect(0, 0, 200, 150));  // equal counts as larger
    // Wider than high: width first, then height when still too tall (166.67 x 150).
    EXPECT_EQ(tb::photoRect({400, 360}, {200, 150}), QRect(16, 0, 167, 150));
    // Square or taller: height first, then width when still too wide.
    EXPECT_EQ(tb::photoRect({300, 300}, {200, 150}), QRect(25, 0, 150, 150));
    EXPECT_EQ(tb::photoRect({200, 210}, {100, 150}), QRect(0, 22, 100, 105));
    EXPECT_TRUE(tb::photoRect({0, 0}, {200, 150}).isEmpty());
    EXPECT_EQ(tb::photoRect({100000, 1}, {200, 150}), QRect(0, 74, 200, 1));  // still one pixel high
}

// The outlines made with the map against the department centres measured on frc.gif by hand: every department of the
// map, Corsica as "20", the enlarged Paris inset, and the sea.
TEST(DepartmentUnderClick, EveryDepartmentIsFoundAtItsCentreAndMissingOutlinesPutAllOnTheSea)
{
    const tb::DepartmentOutlines outlines = tb::DepartmentOutlines::read(dataDir());
    ASSERT_FALSE(outlines.isEmpty());
    for (int d = 1; d <= 95; ++d) {
        const tb::DepartmentSpot* spot = tb::departmentSpot(d);
        ASSERT_NE(spot, nullptr) << d;
        EXPECT_EQ(outlines.departmentAt(spot->x, spot->y), QString::number(d).rightJustified(2, u'0'))
            << "department " << d << " at " << spot->x << ", " << spot->y;
    }
    // Ajaccio (2A) and Bastia (2B).
    EXPECT_EQ(outlines.departmentAt(835, 800), QStringLiteral("20"));
    EXPECT_EQ(outlines.departmentAt(862, 740), QStringLiteral("20"));
    // The inset over the Channel: Paris in its middle, the Hauts-de-Seine west of it.
    EXPECT_EQ(outlines.departmentAt(95, 118), QStringLiteral("75"));
    EXPECT_EQ(outlines.departmentAt(50, 130), QStringLiteral("92"));
    // The Atlantic, the Mediterranean, the Channel under the inset, outside the map.
    for (const QPoint sea : {QPoint(60, 500), QPoint(600, 780), QPoint(100, 205), QPoint(-5, 10), QPoint(950, 900)})
        EXPECT_EQ(outlines.departmentAt(sea.x(), sea.y()), QString()) << sea.x() << ", " << sea.y();

    // Missing or garbled outlines put every point on the sea.
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_TRUE(tb::DepartmentOutlines::read(folder).isEmpty());
    writeBytes(folder + "contours.txt", "17 1 1 9 1 9\r\n17 a b c d e f\r\nXYZ 0 0 9 0 9 9\r\n33 0 0 9 0 9 9\r\n");
    const tb::DepartmentOutlines garbled = tb::DepartmentOutlines::read(folder);
    EXPECT_EQ(garbled.departmentAt(7, 2), QStringLiteral("33"));
    EXPECT_EQ(garbled.departmentAt(1, 7), QString());
}

TEST(PreviewImage, DecodedAtItsPreviewSizeAndUnreadableOrTooLargeFilesNeverLoaded)
{
    QTemporaryDir dir;
    ASSERT_TRUE(filledImage({1200, 600}, Qt::red).save(dir.filePath("big.jpg"), "JPG"));
    QSize natural;
    const QImage preview = tb::loadPreview(dir.filePath("big.jpg"), {240, 180}, &natural);
    EXPECT_EQ(natural, QSize(1200, 600));
    EXPECT_EQ(preview.size(), QSize(240, 120));
    const QImage framed = tb::framedPreview(preview, natural, {240, 180}, Qt::white);
    EXPECT_EQ(framed.size(), QSize(240, 180));
    EXPECT_EQ(framed.pixelColor(5, 5), QColor(Qt::white));  // above the picture
    EXPECT_GT(framed.pixelColor(120, 90).red(), 200);       // centre of the picture

    writeBytes(dir.filePath("texte.gif"), "GIF89a mais pas vraiment");
    EXPECT_TRUE(tb::loadPreview(dir.filePath("texte.gif"), {240, 180}, &natural).isNull());
    EXPECT_FALSE(natural.isValid());
    EXPECT_TRUE(tb::framedPreview(QImage(), QSize(), {240, 180}, Qt::white).isNull());

    // Text previews (code page covered by the browser test) stop at maxBytes.
    writeBytes(dir.filePath("long.txt"), QByteArray(1000, 'a'));
    EXPECT_EQ(tb::previewText(dir.filePath("long.txt"), 100), QString(100, u'a'));
    EXPECT_EQ(tb::previewText(dir.filePath("absent.txt")), QString());

    // Maps and pictures unreadable or too large to show are never loaded.
    writeBytes(dir.filePath("carte.gif"), "ceci n'est pas une image");
    // A bitmap header claiming 20000 x 20000 pixels, with no pixels behind it.
    writeBytes(dir.filePath("huge.bmp"), exchange_samples::bitmapHeader(20000, 20000));
    for (const QString& bad : {dir.filePath("carte.gif"), dir.filePath("absent.gif"), QString(), dir.filePath("huge.bmp")})
        EXPECT_TRUE(tb::loadMapImage(bad).isNull()) << bad.toStdString();
    EXPECT_GT(tb::loadMapImage(dataDir() + "frc.gif").width(), 800);
    // A long strip could not be scrolled to its end; a huge photo would freeze the program.
    for (const QSize size : {QSize(40000, 300), QSize(300, 10001), QSize(8000, 7000)}) {
        QImage img(size, QImage::Format_Mono);
        img.fill(0);
        ASSERT_TRUE(img.save(dir.filePath("big.png"), "PNG"));
        EXPECT_TRUE(tb::loadMapImage(dir.filePath("big.png")).isNull()) << size.width();
        EXPECT_TRUE(tb::loadPreview(dir.filePath("big.png"), {150, 180}).isNull()) << size.width();
    }
    QImage ok(10000, 300, QImage::Format_Mono);
    ok.fill(0);
    ASSERT_TRUE(ok.save(dir.filePath("ok.png"), "PNG"));
    EXPECT_EQ(tb::loadMapImage(dir.filePath("ok.png")).size(), QSize(10000, 300));
}

TEST(Zone, CompleteZonesCornersInAnyOrderListTheCardsStrictlyInsideButNeverArchivedOnes)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeCards(folder, {makeCard("IN", "a", 3, 150, 150),     // 1 inside
                        makeCard("LEFT", "b", 1, 100, 150),   // 2 on the left bound
                        makeCard("LOW", "c", 2, 150, 200),    // 3 on the lower bound
                        makeCard("ARCH", "d", 0, 160, 160),   // 4 archived, inside
                        makeCard("EDGE", "e", 7, 299, 101),   // 5 just inside a corner
                        makeCard("OUT", "f", 4, 301, 150),    // 6 past the right bound
                        makeCard("NINE", "g", 9, 200, 120)});  // 7 marker 9: active, no colour
    tb::PinIndex pins;
    ASSERT_TRUE(pins.load(CardStore(folder), 7));
    const auto zone = [&](std::initializer_list<QPoint> clicks) {
        tb::ZoneMarking z;
        for (const QPoint& p : clicks)
            z.mark(p.x(), p.y());
        return pins.cardsIn(z.area());
    };
    const Hits inside{1, 5, 7};
    EXPECT_EQ(zone({{100, 100}, {300, 200}}), inside);  // upper left first
    EXPECT_EQ(zone({{300, 100}, {100, 200}}), inside);  // upper right, then lower left
    // Bounds moved by one pixel take in the cards that lay on them.
    EXPECT_EQ(zone({{99, 100}, {300, 201}}), (Hits{1, 2, 3, 5, 7}));
    // A flat zone holds nothing, not even what lies on its line.
    EXPECT_EQ(zone({{100, 150}, {300, 150}}), Hits{});

    // Only a complete zone lists: one corner, the second does not count as (0, 0); a third click starts a new one.
    EXPECT_EQ(zone({{400, 400}}), Hits{});
    tb::ZoneMarking z;
    z.mark(100, 100);
    z.mark(300, 200);
    z.mark(140, 140);
    EXPECT_EQ(z.corners(), 1);
    EXPECT_EQ(pins.cardsIn(z.area()), Hits{});
    z.mark(155, 155);
    EXPECT_EQ(pins.cardsIn(z.area()), Hits{1});
    z.clear();
    EXPECT_EQ(z.corners(), 0);
}

TEST(Zone, HintTooltipFiguresAndManyCardsWithTheirListLinesInCardOrderAsAFewDo)
{
    tb::ZoneMarking z;
    EXPECT_EQ(z.hint(), "Bouton gauche : cliquez sur un coin de la zone, puis sur le coin opposé.");
    z.mark(300, 200);
    EXPECT_EQ(z.hint(), "Premier coin : 300, 200. Cliquez maintenant sur le coin opposé.");
    z.mark(100, 100);
    EXPECT_EQ(z.hint(), "Zone de 300, 200 à 100, 100. Bouton droit : liste des fiches de la zone.");
    EXPECT_EQ(tb::zoneTooltip(120, 45), " 120   45");

    QImage img = filledImage({400, 300}, Qt::white);
    {
        QPainter p(&img);
        tb::drawZone(p, z);
    }
    const QRgb red = qRgb(192, 0, 0);
    // A circle of radius 3 on a corner, and the rectangle's sides between the corners.
    EXPECT_EQ(img.pixel(303, 200), red);
    int side = 0;
    for (int x = 110; x < 290; ++x)
        side += img.pixel(x, 100) == red;
    EXPECT_GT(side, 60);
    // Outside stays as it was; inside is only lightly tinted.
    EXPECT_EQ(img.pixel(50, 50), qRgb(255, 255, 255));
    EXPECT_GT(qGreen(img.pixel(200, 150)), 200);
    EXPECT_LT(qGreen(img.pixel(200, 150)), 255);

    // Many cards come with their list lines in card order, as a few do.
    TempProgramFolder program;
    TempDatabase folder(program.path());
    // Every third card archived, every fifth outside the zone.
    std::vector<CardRecord> cards;
    for (int n = 1; n <= 300; ++n)
        cards.push_back(makeCard("NOM" + QString::number(n), "p", n % 3 == 0 ? 0 : 1 + n % 7,
                                 n % 5 == 0 ? 900 : 100 + n % 50, 100 + n % 40, "75001", "PARIS"));
    writeCards(folder.path(), cards);
    auto db = tb::Database::open(folder.path());
    ASSERT_TRUE(db);
    // The large zone holds every active card inside.
    const tb::OpenRect zone = tb::rectBetween(500, 500, 50, 50);
    const std::vector<long long> inside = (*db)->pins().cardsIn(zone);
    EXPECT_EQ(inside.size(), 160u);
    const tb::Result<tb::CardList> list = (*db)->cardsIn(zone);
    ASSERT_TRUE(list);
    ASSERT_EQ(size_t(list->size()), inside.size());
    for (int row = 0; row < list->size(); ++row) {
        const long long n = inside[size_t(row)];
        EXPECT_EQ(list->number(row), n);
        EXPECT_TRUE(n % 3 != 0 && n % 5 != 0);
        EXPECT_EQ(list->display(row), ("NOM" + QString::number(n)).leftJustified(15) + " p" + QString(14, u' ')
                                          + " 75001 PARIS" + QString(35, u' '));
    }
}
