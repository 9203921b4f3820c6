// The zone window: its map, a zone of two corners, the cards listed in it.
#include "core/map/pins.h"
#include "gui/map/map_picture.h"
#include "gui/map/map_view.h"
#include "gui/map/zone_window.h"
#include "gui_fixture.h"

#include <QApplication>
#include <QTimer>

using namespace testing_support;

namespace {

class ZoneWindowTest : public ::testing::Test {
protected:
    GuiFixture f;
    Ffrance28* w = nullptr;

    void SetUp() override
    {
        f.openWithCards({
            makeCard("DEDANS", "a", 3, 150, 150),   // 1 inside
            makeCard("BORD", "b", 1, 100, 150),     // 2 on the left bound
            makeCard("ARCHIVE", "c", 0, 160, 160),  // 3 archived, inside
            makeCard("AUSSI", "d", 2, 250, 120),    // 4 inside
            makeCard("LOIN", "e", 4, 400, 300),     // 5 outside
        });
        w = open();
    }
    Ffrance28* open() { return f.open<Ffrance28>(QString::fromUtf8("Tournèe")); }
    MapPicture* picture() const { return child<MapPicture>(w, "PicImage"); }
    QImage zoneMap() const { return child<MapView>(w, QString())->image(); }
    void press(Qt::MouseButton button, int x, int y) { QTest::mousePress(picture(), button, {}, QPoint(x, y)); }
    void corners(int x1, int y1, int x2, int y2)
    {
        press(Qt::LeftButton, x1, y1);
        press(Qt::LeftButton, x2, y2);
    }
    // A right click on the zone map: the list window's card numbers.
    QList<long long> listed()
    {
        const qsizetype before = f.dialogs.modals.size();
        press(Qt::RightButton, 10, 10);
        EXPECT_EQ(f.dialogs.modals.size(), before + 1);
        auto* list = f.shown<FFrance3>();
        return list ? rowNumbers(child<CardListView>(list, "List1")) : QList<long long>{-1};
    }
    QString hint() const { return labelText(w, "Consigne"); }
    void menu(const char* name) { w->findChild<QAction*>(QString::fromUtf8(name))->trigger(); }
};

}  // namespace

TEST_F(ZoneWindowTest, TwoCornersListTheActiveCardsInsideAndTheMenuKeepsOrErasesTheZone)
{
    // Its own map, with the pins of the main one.
    EXPECT_EQ(zoneMap().size(), f.main->mapImage().size());
    EXPECT_EQ(zoneMap().pixelColor(144, 150), tb::pinColor(3));
    // Corners in any order (which cards a zone holds is the core's).
    corners(300, 200, 100, 100);
    EXPECT_TRUE(hint().startsWith(QStringLiteral("Zone de 300, 200")));  // the hints are the core's
    EXPECT_EQ(listed(), (QList<long long>{1, 4}));
    // Drawn on the zone map only.
    EXPECT_EQ(picture()->grab().toImage().pixelColor(303, 200), QColor(192, 0, 0));
    EXPECT_NE(f.main->mapImage().pixelColor(303, 200), QColor(192, 0, 0));

    // The caption blinks (the tooltip's text is the core's).
    auto* caption = child<QLabel>(w, "Label6");
    const bool hidden = caption->isHidden();
    QMetaObject::invokeMethod(child<QTimer>(w, "Timer1"), "timeout");
    EXPECT_EQ(caption->isHidden(), !hidden);

    // "Retour au menu principal" ends the real modal loop: hidden, and the next opening shows the same zone.
    QList<long long> seen;
    runInRealModalLoop(w, [&] {
        seen = listed();
        menu("retourmenu");
    });
    EXPECT_EQ(seen, (QList<long long>{1, 4}));
    EXPECT_EQ(open(), w);
    EXPECT_EQ(listed(), (QList<long long>{1, 4}));
    // "Effacer la zone": no figure, nothing listed.
    menu("Effacer");
    EXPECT_NE(picture()->grab().toImage().pixelColor(97, 100), QColor(192, 0, 0));
    EXPECT_EQ(listed(), QList<long long>{});

    // The close box forgets the zone: a new window, without it.
    EXPECT_TRUE(closeAndDelete(w));
    w = open();
    EXPECT_EQ(listed(), QList<long long>{});
}

TEST_F(ZoneWindowTest, PinsOfEveryChangeOfCardsAppearOnBothMaps)
{
    tb::Database* db = f.main->session().database();
    const auto pinOn = [&](int x, int y, QColor colour) {
        return int(f.main->mapImage().pixelColor(x - 6, y) == colour) + int(zoneMap().pixelColor(x - 6, y) == colour);
    };
    // Store: card 5 moves.
    ASSERT_TRUE(db->storeCard(5, makeCard("LOIN", "e", 4, 200, 250)));
    EXPECT_EQ(pinOn(200, 250, tb::pinColor(4)), 2);
    EXPECT_EQ(pinOn(400, 300, tb::pinColor(4)), 0);
    // A new card, then an archived one: the zone lists what the maps show.
    ASSERT_TRUE(db->createCard(makeCard("NOUVEAU", "f", 7, 220, 60)));
    EXPECT_EQ(pinOn(220, 60, tb::pinColor(7)), 2);
    ASSERT_TRUE(db->setArchived(4, true));
    EXPECT_EQ(pinOn(250, 120, tb::pinColor(2)), 0);
    corners(100, 50, 300, 200);
    EXPECT_EQ(listed(), (QList<long long>{1, 6}));
    // Deletion (which card takes the number is the core's).
    ASSERT_TRUE(db->deleteCard(1));
    EXPECT_EQ(pinOn(150, 150, tb::pinColor(3)), 0);
    EXPECT_EQ(listed(), (QList<long long>{1}));
    // A new map chosen for the database: both views show it, the zone stays.
    QImage plan(400, 300, QImage::Format_RGB32);
    plan.fill(Qt::white);
    ASSERT_TRUE(plan.save(f.program.file("plan.bmp")));
    ASSERT_TRUE(db->setMapPath(f.program.file("plan.bmp")));
    EXPECT_EQ(zoneMap().size(), QSize(400, 300));
    EXPECT_EQ(listed(), (QList<long long>{1}));
    // Another database: its own pins, and no zone from the one before.
    f.openWithCards({makeCard("AUTRE", "g", 5, 180, 140)}, QStringLiteral("Autres"));
    EXPECT_EQ(pinOn(180, 140, tb::pinColor(5)), 2);
    EXPECT_EQ(pinOn(220, 60, tb::pinColor(7)), 0);
    EXPECT_EQ(listed(), QList<long long>{});
}
