// Zones: the rectangle the map shows between two corners, bounds excluded,
// archived cards left out, and what the zone window draws and says.
#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/map/pin_index.h"
#include "core/map/zone.h"
#include "support/fixtures.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;
using Hits = std::vector<long long>;

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

    // Only a complete zone lists: one corner, the second does not count as (0, 0);
    // a third click starts a new one.
    EXPECT_EQ(zone({}), Hits{});
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

TEST(Zone, HintTooltipAndFigures)
{
    tb::ZoneMarking z;
    EXPECT_EQ(z.hint(), "Bouton gauche : cliquez sur un coin de la zone, puis sur le coin opposé.");
    z.mark(300, 200);
    EXPECT_EQ(z.hint(), "Premier coin : 300, 200. Cliquez maintenant sur le coin opposé.");
    z.mark(100, 100);
    EXPECT_EQ(z.hint(), "Zone de 300, 200 à 100, 100. Bouton droit : liste des fiches de la zone.");
    EXPECT_EQ(tb::zoneTooltip(120, 45), " 120   45");

    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        tb::drawZone(p, z);
    }
    const QRgb red = qRgb(192, 0, 0);
    // Circles of radius 3 on both corners, and the rectangle's sides between them.
    EXPECT_EQ(img.pixel(303, 200), red);
    EXPECT_EQ(img.pixel(97, 100), red);
    int side = 0;
    for (int x = 110; x < 290; ++x)
        side += img.pixel(x, 100) == red;
    EXPECT_GT(side, 60);
    // Outside stays as it was; inside is only lightly tinted.
    EXPECT_EQ(img.pixel(50, 50), qRgb(255, 255, 255));
    EXPECT_GT(qGreen(img.pixel(200, 150)), 200);
    EXPECT_LT(qGreen(img.pixel(200, 150)), 255);
}

TEST(Zone, ManyCardsComeWithTheirListLinesInCardOrderAsAFewDo)
{
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
