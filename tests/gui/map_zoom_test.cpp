// The zoomed map: clicks in whole map pixels, the zoom kept, the hint.
#include "core/map/map_zoom.h"
#include "core/map/pins.h"
#include "gui/app/database_chooser_window.h"
#include "gui/cards/creation_window.h"
#include "gui/map/map_picture.h"
#include "gui/widgets/card_form.h"
#include "gui_fixture.h"
#include "write_failures.h"

#include <QWheelEvent>

using namespace testing_support;

namespace {

class MapZoomTest : public ::testing::Test {
protected:
    GuiFixture f;
    QString db;
    MapPicture* picture = nullptr;

    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 200, 150), makeCard("ARNAUD", "Zoé", 2, 400, 300)});
        picture = child<MapPicture>(f.main.get(), "PicImage");
        ASSERT_NE(picture, nullptr);
    }

    // The zoom typed into the status bar's control.
    void typeZoom(const QString& text)
    {
        auto* combo = child<QComboBox>(f.main.get(), "Zoom");
        combo->setEditText(text);
        emit combo->textActivated(text);
    }

    // A press on the zoomed picture at map point (x, y) plus a fraction of a map pixel.
    void press(Qt::MouseButton button, double x, double y)
    {
        const double z = picture->zoom();
        const QPointF at(x * z + 0.9 * z * 0.5, y * z + 0.9 * z * 0.5);
        QMouseEvent move(QEvent::MouseMove, at, picture->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &move);
        QMouseEvent e(QEvent::MouseButtonPress, at, picture->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(picture, &e);
    }

    QList<long long> listedAt(double x, double y)
    {
        press(Qt::LeftButton, x, y);
        auto* list = f.shown<FFrance3>();
        return list ? rowNumbers(child<CardListView>(list, "List1")) : QList<long long>{-1};
    }
};

}  // namespace

TEST_F(MapZoomTest, HitTestAndCreationGiveTheSamePositionsAtEveryZoom)
{
    for (const QString& zoom : {QStringLiteral("25 %"), QStringLiteral("337 %")}) {
        SCOPED_TRACE(zoom.toStdString());
        typeZoom(zoom);
        EXPECT_EQ(qRound(picture->zoom() * 100), zoom.left(zoom.size() - 2).toInt());
        // The pin's square: less than 6 map pixels on each axis (the square is the core's).
        EXPECT_EQ(listedAt(205, 145), QList<long long>{1});
        EXPECT_TRUE(listedAt(206, 150).isEmpty());

        press(Qt::RightButton, 123, 77);
        ASSERT_NE(f.shown<FFrance11>(), nullptr);
        EXPECT_EQ(f.shown<FFrance11>()->findChild<CardFormWidget*>()->pin().text(),
                  ("3" + tb::positionText(123, 77)).leftJustified(30));
    }
    // A card made at 337 % holds the position it would have at 100 %.
    click(child<QPushButton>(f.dialogs.lastModal(), "Command3"));
    EXPECT_EQ(f.main->session().database()->count(), 3);
    EXPECT_EQ(readBytes(db + "lesfiches.dat").mid(2 * 630, 30),
              ("3" + tb::positionText(123, 77)).leftJustified(30).toLatin1());
}

TEST_F(MapZoomTest, KeysWheelAndControlChangeTheZoomWhichTheDatabaseKeepsOrSaysWhyNot)
{
    delete f.window<Ffrance29>();  // closed, it would keep the keyboard
    activate(f.main.get());
    QTest::keyClick(f.main.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.25);
    EXPECT_EQ(readBytes(db + "zoom.txt"), "125\r\n");
    QTest::keyClick(f.main.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(f.main.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(picture->zoom(), 0.75);
    QTest::keyClick(f.main.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.0);

    // Ctrl + wheel keeps the map point under the pointer in place.
    const QPointF at(150, 120);
    const QPoint mapBefore = tb::mapPixelAt(at, picture->zoom());
    const QPoint onView = picture->mapToParent(at.toPoint());
    QWheelEvent up(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &up);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.25);
    // The pointer has not moved on the view: the same map point is under it.
    EXPECT_LE((tb::mapPixelAt(QPointF(picture->mapFromParent(onView)), 1.25) - mapBefore).manhattanLength(), 2);
    QWheelEvent plain(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &plain);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.25);

    typeZoom("Ajuster à la fenêtre");
    EXPECT_TRUE(picture->fitsView());
    EXPECT_EQ(readBytes(db + "zoom.txt"), "ajuster\r\n");
    typeZoom("337");
    EXPECT_EQ(readBytes(db + "zoom.txt"), "337\r\n");

    // Opened again, the database shows its zoom; a bad file gives 100 %.
    f.openDatabase(db);
    EXPECT_DOUBLE_EQ(picture->zoom(), 3.37);
    writeBytes(db + "zoom.txt", "beaucoup");
    f.openDatabase(db);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.0);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // A zoom that cannot be written (as on a full disk) is told once, and the zoom still changes.
    QFile::remove(db + "zoom.txt");
    EXPECT_TRUE(underFileSizeLimit(0, [&] {
        typeZoom("200 %");
        typeZoom("300 %");
        return picture->zoom() == 3.0 && f.dialogs.messages.size() == 1
               && f.dialogs.lastMessage().startsWith("Erreur n° 61") && !QFile::exists(db + "zoom.txt");
    }));
}

TEST(MapHint, ANewDatabaseShowsTheWholeMapAndTheLineUnderItUntilTheFirstCardExists)
{
    GuiFixture f;
    auto* hint = child<QLabel>(f.main.get(), "MapHint");
    EXPECT_EQ(hint->text(), " Pour commencer : menu « Fichier », créez une base de données ou ouvrez-en une.");
    f.main->resize(700, 500);
    f.createDatabase();
    // The whole map in view (which zoom opens is the core's), nothing written until a zoom is chosen.
    EXPECT_TRUE(child<MapPicture>(f.main.get(), "PicImage")->fitsView());
    EXPECT_EQ(child<QComboBox>(f.main.get(), "Zoom")->currentText(), "Ajuster à la fenêtre");
    EXPECT_FALSE(QFile::exists(f.db() + "zoom.txt"));
    EXPECT_EQ(hint->text(), " Clic droit sur la carte : créer une fiche. Clic gauche près d'une épingle : voir les "
                            "fiches de cet endroit.");
    EXPECT_FALSE(hint->isHidden());
    ASSERT_TRUE(f.main->session().database()->createCard(makeCard("PREMIER", "Paul", 3, 50, 50)).ok());
    EXPECT_TRUE(hint->isHidden());
}
