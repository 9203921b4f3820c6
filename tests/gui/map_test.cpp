// The zoomed map: clicks in whole map pixels, the zoom kept, the hint; the default map's drawing.
#include "core/map/map_zoom.h"
#include "core/map/pin_index.h"
#include "core/map/pins.h"
#include "gui/app/database_chooser_window.h"
#include "gui/cards/creation_window.h"
#include "gui/map/default_map_drawing.h"
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

// The default map's drawing: the picture at 100 %, sharp above it, its numbers over the pins.
namespace {

// Anti-aliasing of borders and numbers differs between the renderer that made
// the picture and Qt's: a pixel matches within this distance in RGB (of 441).
constexpr double kTolerance = 40.0;
const QColor kNumberColour(0x3c, 0x2c, 0x20);

double distance(QRgb a, QRgb b)
{
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return std::sqrt(double(r * r + g * g + bl * bl));
}

// The share of pixels of a that match b within the tolerance.
double matching(const QImage& a, const QImage& b)
{
    long long same = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            same += distance(a.pixel(x, y), b.pixel(x, y)) <= kTolerance;
    return double(same) / (double(a.width()) * a.height());
}

// The picture once its drawing is made.
QImage settled(MapPicture& picture, const QRect& area)
{
    picture.grab(area);
    while (picture.drawingPending())
        QCoreApplication::processEvents();
    return picture.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

long long numberPixels(const QImage& image)
{
    long long n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += distance(image.pixel(x, y), kNumberColour.rgb()) < 12;
    return n;
}

}  // namespace

TEST(SharpDefaultMap, DrawingAtFullSizeMatchesThePictureAndOnlyTheDefaultMapHasOne)
{
    const QImage picture = QImage(dataDir() + "frc.gif").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(900, 860));
    const auto drawing = DefaultMapDrawing::forMap(dataDir() + "frc.gif");
    ASSERT_TRUE(drawing);
    QImage drawn(picture.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    drawing->drawGround(drawn, drawn.rect(), 1.0);
    drawing->drawNumbers(drawn, drawn.rect(), 1.0);
    EXPECT_GE(matching(drawn, picture), 0.99);

    // Another map, or the default map without its drawing beside it, stays a picture.
    QTemporaryDir dir;
    writeBytes(dir.path() + "/frc.gif", readBytes(dataDir() + "frc.gif"));
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/frc.gif"));
    writeBytes(dir.path() + "/frc.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"9\" height=\"9\"/></svg>");
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/frc.gif"));
    writeBytes(dir.path() + "/plan.gif", readBytes(dataDir() + "frc.gif"));
    writeBytes(dir.path() + "/plan.svg", readBytes(dataDir() + "frc.svg"));
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/plan.gif"));
}

TEST(SharpDefaultMap, ZoomedPictureIsTheDrawingInPlaceWithItsNumbersOverCrowdedPins)
{
    const QImage gif(dataDir() + "frc.gif");
    QWidget view;
    view.resize(900 * 4, 860 * 4);
    MapPicture picture(&view);
    picture.setDrawing(DefaultMapDrawing::forMap(dataDir() + "frc.gif"));
    picture.setImage(&gif);
    // A dark grey pin (marker 1) on every third pixel: nothing of the map
    // shows between them but the numbers.
    std::vector<tb::Pin> pins;
    for (int y = 0; y < 860; y += 3)
        for (int x = 0; x < 900; x += 3)
            pins.push_back({float(x), float(y), 1});
    picture.setPins(pins);
    const long long shownAtFull = numberPixels(settled(picture, picture.rect()));
    EXPECT_GT(shownAtFull, 1500);

    // Zoomed, the picture shows at once, its drawing follows between events.
    picture.setZoom(4.0);
    ASSERT_EQ(picture.size(), QSize(3600, 3440));
    const QRect seen(1200, 1600, 800, 800);
    picture.grab(seen);
    EXPECT_TRUE(picture.drawingPending());
    const QImage zoomed = settled(picture, seen);
    EXPECT_GT(numberPixels(zoomed), 2000);

    // Without pins the zoomed drawing lies on the picture enlarged: same places, same colours.
    picture.setPins({});
    const QImage ground = settled(picture, seen);
    const QImage enlarged = gif.convertToFormat(QImage::Format_RGB32).copy(300, 400, 200, 200).scaled(800, 800);
    // (The picture's one-pixel borders become four-pixel blocks there.)
    EXPECT_GE(matching(ground, enlarged), 0.95);

    // The same pins on another map hide its numbers.
    MapPicture plain(&view);
    plain.setImage(&gif);
    plain.setPins(std::move(pins));
    EXPECT_LT(numberPixels(settled(plain, plain.rect())), shownAtFull / 10);
}
