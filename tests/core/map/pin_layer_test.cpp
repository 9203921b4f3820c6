// Pins on a zoomed map: whole where a pin stands alone, small and translucent
// where pins crowd, each on its own card, so that the map stays visible under 100,000 cards.
#include "core/cards/card_store.h"
#include "core/db/demo_database.h"
#include "core/map/hit_test.h"
#include "core/map/map_zoom.h"
#include "core/map/pin_layer.h"
#include "core/map/pins.h"
#include "support/fixtures.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

tb::Pin pin(int marker, float x, float y)
{
    tb::Pin p;
    p.marker = qint8(marker);
    p.x = x;
    p.y = y;
    return p;
}

QImage drawn(const tb::PinLayer& layer, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    layer.draw(image, image.rect());
    return image;
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

TEST(PinLayer, ALonePinIsWholeAndEachCrowdedSquareIsCentredOnItsCardInsideItsHitSquareInItsColour)
{
    // Two neighbours, a crowd of three a pixel or two apart, an archived card, one alone far away.
    const std::vector<tb::Pin> pins = {pin(4, 516, 516), pin(7, 530, 516), pin(2, 300, 300), pin(3, 302, 301),
                                       pin(6, 304, 300), pin(0, 200, 200), pin(1, 100, 100)};
    tb::PinLayer layer;
    layer.setPins(pins);
    layer.setView(QSize(800, 800), 1.0);
    const QImage image = drawn(layer, QSize(800, 800));
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
