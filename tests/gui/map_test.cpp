// The zoomed map: clicks in whole map pixels, the zoom kept, the hint; the default map's drawing; the browsers; zones.
#include "core/base/path_text.h"
#include "core/base/paths.h"
#include "core/external/start_folders.h"
#include "core/map/map_zoom.h"
#include "core/map/pin_index.h"
#include "core/map/pins.h"
#include "gui/app/database_chooser_window.h"
#include "gui/cards/creation_window.h"
#include "gui/map/default_map_drawing.h"
#include "gui/map/file_browser_window.h"
#include "gui/map/map_browser_window.h"
#include "gui/map/map_picture.h"
#include "gui/map/map_view.h"
#include "gui/map/zone_window.h"
#include "gui/widgets/card_form.h"
#include "gui_fixture.h"
#include "write_failures.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>
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

// The map browser ("Cartes & Plans") and the file browser, reached through the menus.
namespace {

// A database in use and a folder of pictures and documents to choose from.
class Browsers : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = f.openWithCards({makeCard("DURAND", "Paul", 2, 50, 40)});
        QDir().mkpath(pictures + "Cartes");
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        for (const char* name : {"vacances.jpg", "image.jpeg", "PLAGE.JPG"})
            ASSERT_TRUE(image.save(pictures + name, "JPG"));
        ASSERT_TRUE(image.scaled(100, 50).save(pictures + "Cartes/plan.bmp", "BMP"));
        writeBytes(pictures + "faux.jpg", "ceci n'est pas une image\r\n");
        writeBytes(pictures + "lettre.txt", "Ch\xE8re Madame,\r\nBien \xE0 vous.\r\n");
    }
    // Opens the map browser through "Cartes & Plans"; script drives it.
    FFrance22* mapBrowser(std::function<void(FFrance22*)> script)
    {
        f.dialogs.modalScripts.enqueue([script](QWidget* w) { script(qobject_cast<FFrance22*>(w)); });
        return f.open<FFrance22>("cartes");
    }
    static void chooseFile(QWidget* w, const QString& name) { ASSERT_TRUE(clickItem(w, "File1", name)); }
    static QStringList files(QWidget* w) { return rowTexts(child<QListWidget>(w, "File1")); }

    GuiFixture f;
    QString db;
    QTemporaryDir tmp;
    QString pictures = tmp.path() + "/Mes images/";
};

}  // namespace

TEST_F(Browsers, TheMapBrowserWalksFoldersAndChargerStoresTheChosenMapWhateverItsName)
{
    const QByteArray before = readBytes(db + "carte.txt");
    const QString path = pictures + "Cartes/plan.bmp";
    FFrance22* b = mapBrowser([&](FFrance22* b) {
        EXPECT_EQ(labelText(b, "TxtChemin"), f.program.path());
        click(child<QPushButton>(b, "Command1"));  // nothing chosen: nothing stored
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(readBytes(db + "carte.txt"), before);

        // The pattern matches any case; a double-click opens a folder; ".." goes up.
        ASSERT_TRUE(b->openFolder(pictures));
        EXPECT_EQ(files(b), QStringList({"faux.jpg", "PLAGE.JPG", "vacances.jpg"}));
        ASSERT_TRUE(clickItem(b, "Dir1", "Cartes", true));
        EXPECT_EQ(labelText(b, "TxtChemin"), pictures + "Cartes/");
        ASSERT_TRUE(clickItem(b, "Dir1", "..", true));
        EXPECT_EQ(labelText(b, "TxtChemin"), pictures);
        // The preview (which pictures load is the core's).
        chooseFile(b, "vacances.jpg");
        EXPECT_FALSE(child<QLabel>(b, "Picture1")->pixmap().isNull());
        // At the root the path keeps a single "/"; a missing folder changes nothing.
        ASSERT_TRUE(b->openFolder("/"));
        EXPECT_TRUE(child<QListWidget>(b, "Dir1")->findItems("..", Qt::MatchExactly).isEmpty());
        b->clickFile("plan.gif");
        EXPECT_EQ(labelText(b, "Label1"), "/plan.gif");
        EXPECT_FALSE(b->openFolder(pictures + "absent"));
        EXPECT_EQ(labelText(b, "TxtChemin"), "/");

        ASSERT_TRUE(b->openFolder(pictures + "Cartes"));
        chooseFile(b, "plan.bmp");
        keyClick(child<QListWidget>(b, "File1"), Qt::Key_Return);  // as "Charger"
    });
    EXPECT_EQ(readBytes(db + "carte.txt"), tb::encodePathValue(path) + "\r\n");
    EXPECT_EQ(f.main->mapImage().size(), QSize(100, 50));
    EXPECT_EQ(f.main->mapImage().pixelColor(44, 40), QColor(192, 0, 0));  // the pin on the new map
    ASSERT_NE(b, nullptr);
    // Hidden, not closed: the same window next time; closed without a choice, the map stays.
    EXPECT_EQ(mapBrowser([](FFrance22* b) { b->close(); }), b);
    EXPECT_EQ(f.main->mapImage().size(), QSize(100, 50));

    // An unreadable map leaves the program usable (how a path outside the code page is kept is the core's).
    writeBytes(db + "carte.txt", (db + "carte.gif\r\n").toUtf8());
    writeBytes(db + "carte.gif", "pas une image");
    f.openDatabase(db);
    EXPECT_TRUE(f.main->mapImage().isNull());
    EXPECT_EQ(f.main->session().database()->count(), 1);
    // The empty picture is 17 pixels wide: the click lands on it.
    f.leftClickMap(10, 10);
    EXPECT_NE(f.shown<FFrance3>(), nullptr);
}

TEST_F(Browsers, FileBrowserCopiesTheChosenFileUnderTheTargetName)
{
    f.rightClickMap(50, 50);
    auto* creation = f.shown<FFrance11>();
    ASSERT_NE(creation, nullptr);
    const QStringList before = QDir(db).entryList(QDir::Files);
    Ffrance23* b = nullptr;
    f.dialogs.modalScripts.enqueue([&](QWidget* w) {
        b = qobject_cast<Ffrance23*>(w);
        ASSERT_NE(b, nullptr);
        auto* save = child<QPushButton>(b, "Command1");
        click(save);  // nothing chosen yet: nothing happens
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(QDir(db).entryList(QDir::Files), before);
        ASSERT_TRUE(b->openFolder(pictures));
        EXPECT_EQ(files(b), QStringList({"faux.jpg", "image.jpeg", "PLAGE.JPG", "vacances.jpg"}));
        chooseFile(b, "vacances.jpg");
        EXPECT_EQ(child<QLineEdit>(b, "Text1")->text(), db + "photo2.jpg");
        click(save);
    });
    child<QAction>(creation, "photo")->trigger();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_FALSE(b->isVisible());

    // Next time: the same window, the earlier choice forgotten, a text preview (the names and previews are the
    // core's); texts start in the documents folder.
    b->prepare("*.txt;*.jpeg", true, "DtxtA12");
    f.dialogs.showModal(b);
    EXPECT_EQ(labelText(b, "TxtChemin"), tb::folderText(tb::documentsFolder()));
    ASSERT_TRUE(b->openFolder(pictures));
    EXPECT_TRUE(child<QLineEdit>(b, "Text1")->text().isEmpty());
    chooseFile(b, "lettre.txt");
    EXPECT_EQ(child<QPlainTextEdit>(b, "TextRech")->toPlainText(), QString::fromUtf8("Chère Madame,\nBien à vous.\n"));
    EXPECT_EQ(child<QLineEdit>(b, "Text1")->text(), db + "DtxtA12.txt");

    // A copy that cannot be made is said, and the browser stays open.
    ASSERT_TRUE(QDir(db).mkdir("DtxtA12.txt"));
    click(child<QPushButton>(b, "Command1"));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith("Erreur n° 75")) << f.dialogs.lastMessage().toStdString();
    EXPECT_TRUE(b->isVisible());
    b->close();
}

// The zone window: its map, a zone of two corners, the cards listed in it.
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
