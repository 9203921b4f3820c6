// The map browser FFrance22 and the file browser Ffrance23.
#include "app/main_window.h"
#include "base/codepage.h"
#include "gui_fixture.h"
#include "map/file_browser_window.h"
#include "map/folder_list_widget.h"
#include "map/file_picker_widget.h"
#include "map/map_browser_window.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QStringList listed(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

bool previewShown(QLabel* picture)
{
    return !picture->pixmap().isNull();
}

// A database in use and a folder of pictures and documents to choose from.
class Browsers : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.createDatabase();
        ASSERT_TRUE(values().hasDatabase());
        pictures = tmp.path() + "/Mes images/";
        QDir().mkpath(pictures + "Cartes");
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(pictures + "vacances.jpg", "JPG"));
        ASSERT_TRUE(image.save(pictures + "image.jpeg", "JPG"));
        ASSERT_TRUE(image.save(pictures + "PLAGE.JPG", "JPG"));
        ASSERT_TRUE(image.scaled(100, 50).save(pictures + "Cartes/plan.bmp", "BMP"));
        writeBytes(pictures + "faux.jpg", "ceci n'est pas une image\r\n");
        writeBytes(pictures + "lettre.txt", "Ch\xE8re Madame,\r\nBien \xE0 vous.\r\n");
    }
    SharedValues& values() { return f.main->values(); }
    AppContext& ctx() { return f.main->context(); }

    GuiFixture f;
    QTemporaryDir tmp;
    QString pictures;
};

}  // namespace

TEST_F(Browsers, MapBrowserOpensOnProgramFolderAndLists)
{
    FFrance22* b = ctx().windows->mapBrowser();
    EXPECT_EQ(b->windowTitle(), "Recherche de photos (fichiers \"JPG\")");
    EXPECT_EQ(b->TxtChemin->text(), f.program.path());
    EXPECT_TRUE(listed(b->File1).contains("frc.gif"));
    EXPECT_FALSE(listed(b->File1).contains("depts.txt"));
    EXPECT_EQ(b->Drive1->itemData(0).toString(), QDir::homePath() + "/");
    for (const char* name : {"Drive1", "Dir1", "File1", "TxtChemin", "Label1", "Picture1", "Pctdim", "Command1"})
        EXPECT_TRUE(child<QWidget>(b, name)) << name;
    EXPECT_EQ(b->Command1->text(), "Charger");

    // The pattern matches any case; a double-click opens a folder; ".." goes up.
    ASSERT_TRUE(b->openFolder(pictures));
    EXPECT_EQ(listed(b->File1), QStringList({"faux.jpg", "PLAGE.JPG", "vacances.jpg"}));
    const QList<QListWidgetItem*> cartes = b->Dir1->findItems("Cartes", Qt::MatchExactly);
    ASSERT_EQ(cartes.size(), 1);
    emit b->Dir1->itemActivated(cartes[0]);
    EXPECT_EQ(b->TxtChemin->text(), pictures + "Cartes/");
    EXPECT_EQ(listed(b->File1), QStringList({"plan.bmp"}));
    ASSERT_EQ(b->Dir1->item(0)->text(), "..");
    emit b->Dir1->itemActivated(b->Dir1->item(0));
    EXPECT_EQ(b->TxtChemin->text(), pictures);

    // At the root the path keeps a single "/".
    ASSERT_TRUE(b->openFolder("/"));
    EXPECT_EQ(b->TxtChemin->text(), "/");
    EXPECT_TRUE(b->Dir1->findItems("..", Qt::MatchExactly).isEmpty());
    b->clickFile("plan.gif");
    EXPECT_EQ(b->Label1->text(), "/plan.gif");
    EXPECT_FALSE(b->openFolder(pictures + "absent"));
    EXPECT_EQ(b->TxtChemin->text(), "/");
}

TEST_F(Browsers, ChargerStoresTheChosenMap)
{
    FFrance22* b = ctx().windows->mapBrowser();
    f.dialogs.showModal(b);
    ASSERT_TRUE(b->openFolder(pictures + "Cartes"));
    b->clickFile("plan.bmp");
    const QString path = pictures + "Cartes/plan.bmp";
    EXPECT_EQ(b->Label1->text(), path);
    EXPECT_TRUE(previewShown(b->Picture1));
    EXPECT_EQ(b->Pctdim->size(), QSize(100, 50));

    b->Command1->click();
    EXPECT_EQ(readBytes(values().dbFile("carte.txt")), tb::toCp1252(path) + "\r\n");
    EXPECT_EQ(values().Label200, path);
    EXPECT_FALSE(b->isVisible());

    // Hidden, not closed: the next opening shows the same folder.
    EXPECT_EQ(ctx().windows->mapBrowser(), b);
    EXPECT_EQ(b->TxtChemin->text(), pictures + "Cartes/");
}

TEST_F(Browsers, ChargerWithoutAFileChangesNothing)
{
    const QByteArray before = readBytes(values().dbFile("carte.txt"));
    const QString map = values().Label200;
    FFrance22* b = ctx().windows->mapBrowser();
    f.dialogs.showModal(b);
    b->Command1->click();
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(readBytes(values().dbFile("carte.txt")), before);
    EXPECT_EQ(values().Label200, map);
    b->close();
}

TEST_F(Browsers, UnreadableOrHugeImageLeavesThePreviewEmpty)
{
    FFrance22* b = ctx().windows->mapBrowser();
    ASSERT_TRUE(b->openFolder(pictures));
    b->clickFile("vacances.jpg");
    EXPECT_TRUE(previewShown(b->Picture1));
    b->clickFile("faux.jpg");
    EXPECT_EQ(b->Label1->text(), pictures + "faux.jpg");
    EXPECT_FALSE(previewShown(b->Picture1));

    // A bitmap header claiming 20000 x 20000 pixels: refused at once.
    QByteArray bmp("BM");
    bmp += QByteArray::fromHex("36000000" "00000000" "36000000" "28000000" "204E0000" "204E0000"
                               "0100" "1800" "00000000" "00000000" "130B0000" "130B0000" "00000000"
                               "00000000");
    writeBytes(pictures + "immense.bmp", bmp);
    b->openFolder(pictures);
    QElapsedTimer timer;
    timer.start();
    b->clickFile("immense.bmp");
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_FALSE(previewShown(b->Picture1));
    EXPECT_EQ(b->picker()->imageSize(), QSize());
}

TEST_F(Browsers, FileBrowserCopiesUnderTheTargetName)
{
    Ffrance23* b = ctx().windows->fileBrowser();
    EXPECT_EQ(b->windowTitle(), "Rechercher");
    EXPECT_EQ(b->Label3->text(), f.program.path());
    EXPECT_EQ(b->Command1->text(), "Enregistrer");
    b->prepare("*.jpg;*.jpeg", false, "photo12");
    f.dialogs.showModal(b);
    EXPECT_TRUE(b->Picture1->isVisible());
    EXPECT_FALSE(b->TextRech->isVisible());
    ASSERT_TRUE(b->openFolder(pictures));
    EXPECT_EQ(listed(b->File1), QStringList({"faux.jpg", "image.jpeg", "PLAGE.JPG", "vacances.jpg"}));

    b->clickFile("vacances.jpg");
    EXPECT_EQ(b->Text1->text(), values().Label2 + "photo12.jpg");
    EXPECT_TRUE(previewShown(b->Picture1));
    b->Command1->click();
    EXPECT_EQ(readBytes(values().Label2 + "photo12.jpg"), readBytes(pictures + "vacances.jpg"));
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_FALSE(b->isVisible());

    // Same window, same folder next time; the last four characters, dot or not.
    EXPECT_EQ(ctx().windows->fileBrowser(), b);
    b->prepare("*.jpg;*.jpeg", false, "photo12");
    f.dialogs.showModal(b);
    EXPECT_EQ(b->TxtChemin->text(), pictures);
    b->clickFile("image.jpeg");
    EXPECT_EQ(b->Text1->text(), values().Label2 + "photo12jpeg");
    b->Command1->click();
    EXPECT_EQ(readBytes(values().Label2 + "photo12jpeg"), readBytes(pictures + "image.jpeg"));
    EXPECT_EQ(f.dialogs.beeps, 2);
}

TEST_F(Browsers, EnregistrerBeforeAnyClickDoesNothing)
{
    const QStringList before = QDir(values().Label2).entryList(QDir::Files);
    Ffrance23* b = ctx().windows->fileBrowser();
    b->prepare("*.jpg", false, "photo3");
    f.dialogs.showModal(b);
    b->Command1->click();
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(f.dialogs.beeps, 0);
    EXPECT_EQ(QDir(values().Label2).entryList(QDir::Files), before);

    // prepare() forgets an earlier click: the copy name must be made again.
    b->openFolder(pictures);
    b->clickFile("vacances.jpg");
    b->prepare("*.jpg", false, "photo3");
    EXPECT_TRUE(b->Text1->text().isEmpty());
    b->Command1->click();
    EXPECT_TRUE(b->isVisible());
    b->close();
}

TEST_F(Browsers, TextPreviewShowsTheDocument)
{
    Ffrance23* b = ctx().windows->fileBrowser();
    b->prepare("*.txt", true, "DtxtA12");
    f.dialogs.showModal(b);
    EXPECT_FALSE(b->Picture1->isVisible());
    EXPECT_TRUE(b->TextRech->isVisible());
    b->openFolder(pictures);
    EXPECT_EQ(listed(b->File1), QStringList({"lettre.txt"}));
    b->clickFile("lettre.txt");
    EXPECT_EQ(b->TextRech->toPlainText(), QString::fromUtf8("Chère Madame,\nBien à vous.\n"));
    EXPECT_EQ(b->Text1->text(), values().Label2 + "DtxtA12.txt");

    // A copy that cannot be made is said, and the browser stays open.
    values().Label2 = tmp.path() + "/absent/";
    b->clickFile("lettre.txt");
    b->Command1->click();
    EXPECT_EQ(f.dialogs.lastMessage(), QString::fromUtf8("Le fichier n'a pas pu être copié !"));
    EXPECT_EQ(f.dialogs.beeps, 0);
    EXPECT_TRUE(b->isVisible());
    b->close();
}
