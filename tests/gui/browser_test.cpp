// The map browser ("Cartes & Plans") and the file browser, reached through the menus.
#include "core/base/path_text.h"
#include "core/base/paths.h"
#include "core/external/start_folders.h"
#include "gui/cards/creation_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/map/map_browser_window.h"
#include "gui_fixture.h"

#include <QPlainTextEdit>

using namespace testing_support;

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
