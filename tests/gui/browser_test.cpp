// The map browser FFrance22 and the file browser Ffrance23.
#include "gui/app/main_window.h"
#include "core/base/codepage.h"
#include "gui_fixture.h"
#include "gui/map/file_browser_window.h"
#include "gui/widgets/file_picker.h"
#include "gui/widgets/folder_list.h"
#include "gui/map/map_browser_window.h"

#include <QDir>
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

void activate(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    emit list->itemActivated(items[0]);
}

// A database in use and a folder of pictures and documents to choose from.
class Browsers : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.createDatabase();
        QDir().mkpath(pictures + "Cartes");
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        for (const char* name : {"vacances.jpg", "image.jpeg", "PLAGE.JPG"})
            ASSERT_TRUE(image.save(pictures + name, "JPG"));
        ASSERT_TRUE(image.scaled(100, 50).save(pictures + "Cartes/plan.bmp", "BMP"));
        writeBytes(pictures + "faux.jpg", "ceci n'est pas une image\r\n");
        writeBytes(pictures + "lettre.txt", "Ch\xE8re Madame,\r\nBien \xE0 vous.\r\n");
    }
    SharedValues& values() { return f.main->values(); }
    AppContext& ctx() { return f.main->context(); }

    GuiFixture f;
    QTemporaryDir tmp;
    QString pictures = tmp.path() + "/Mes images/";
};

}  // namespace

TEST_F(Browsers, MapBrowserWalksFoldersAndRefusesHugeImages)
{
    FFrance22* b = ctx().windows->mapBrowser();
    EXPECT_EQ(b->windowTitle(), "Recherche de photos (fichiers \"JPG\")");
    EXPECT_EQ(b->Command1->text(), "Charger");
    EXPECT_EQ(b->TxtChemin->text(), f.program.path());
    EXPECT_TRUE(listed(b->File1).contains("frc.gif"));
    EXPECT_FALSE(listed(b->File1).contains("depts.txt"));

    // The pattern matches any case; a double-click opens a folder; ".." goes up.
    ASSERT_TRUE(b->openFolder(pictures));
    EXPECT_EQ(listed(b->File1), QStringList({"faux.jpg", "PLAGE.JPG", "vacances.jpg"}));
    activate(b->Dir1, "Cartes");
    EXPECT_EQ(b->TxtChemin->text(), pictures + "Cartes/");
    activate(b->Dir1, "..");
    EXPECT_EQ(b->TxtChemin->text(), pictures);

    // A bitmap header claiming 20000 x 20000 pixels is refused at once.
    writeBytes(pictures + "immense.bmp",
               "BM" + QByteArray::fromHex("36000000" "00000000" "36000000" "28000000" "204E0000" "204E0000"
                                          "0100" "1800" "000000000000000000000000000000000000000000000000"));
    b->clickFile("vacances.jpg");
    ASSERT_FALSE(b->Picture1->pixmap().isNull());
    b->clickFile("immense.bmp");
    EXPECT_EQ(b->Label1->text(), pictures + "immense.bmp");
    EXPECT_TRUE(b->Picture1->pixmap().isNull());
    EXPECT_EQ(b->picker()->imageSize(), QSize());

    // At the root the path keeps a single "/"; a missing folder changes nothing.
    ASSERT_TRUE(b->openFolder("/"));
    EXPECT_TRUE(b->Dir1->findItems("..", Qt::MatchExactly).isEmpty());
    b->clickFile("plan.gif");
    EXPECT_EQ(b->Label1->text(), "/plan.gif");
    EXPECT_FALSE(b->openFolder(pictures + "absent"));
    EXPECT_EQ(b->TxtChemin->text(), "/");
}

TEST_F(Browsers, ChargerStoresTheChosenMapOnlyOnceOneIsChosen)
{
    const QByteArray before = readBytes(values().dbFile("carte.txt"));
    FFrance22* b = ctx().windows->mapBrowser();
    f.dialogs.showModal(b);
    b->Command1->click();
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(readBytes(values().dbFile("carte.txt")), before);

    ASSERT_TRUE(b->openFolder(pictures + "Cartes"));
    b->clickFile("plan.bmp");
    const QString path = pictures + "Cartes/plan.bmp";
    EXPECT_EQ(b->Label1->text(), path);
    EXPECT_EQ(b->Pctdim->size(), QSize(100, 50));
    b->Command1->click();
    EXPECT_EQ(readBytes(values().dbFile("carte.txt")), tb::toCp1252(path) + "\r\n");
    EXPECT_EQ(values().Label200, path);
    EXPECT_FALSE(b->isVisible());
    EXPECT_EQ(ctx().windows->mapBrowser(), b);  // hidden, not closed: same folder next time
    EXPECT_EQ(b->TxtChemin->text(), pictures + "Cartes/");
}

TEST_F(Browsers, FileBrowserCopiesTheChosenFileUnderTheTargetName)
{
    Ffrance23* b = ctx().windows->fileBrowser();
    EXPECT_EQ(b->windowTitle(), "Rechercher");
    EXPECT_EQ(b->Command1->text(), "Enregistrer");
    const QStringList before = QDir(values().Label2).entryList(QDir::Files);
    b->prepare("*.jpg;*.jpeg", false, "photo12");
    f.dialogs.showModal(b);
    EXPECT_TRUE(b->Picture1->isVisible() && !b->TextRech->isVisible());
    b->Command1->click();  // nothing chosen yet: nothing happens
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(QDir(values().Label2).entryList(QDir::Files), before);

    ASSERT_TRUE(b->openFolder(pictures));
    EXPECT_EQ(listed(b->File1), QStringList({"faux.jpg", "image.jpeg", "PLAGE.JPG", "vacances.jpg"}));
    b->clickFile("image.jpeg");
    EXPECT_EQ(b->Text1->text(), values().Label2 + "photo12jpeg");  // last four characters, dot or not
    EXPECT_FALSE(b->Picture1->pixmap().isNull());
    b->Command1->click();
    EXPECT_EQ(readBytes(values().Label2 + "photo12jpeg"), readBytes(pictures + "image.jpeg"));
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_FALSE(b->isVisible());

    // Next time: same window and folder, the earlier choice forgotten, a text preview.
    EXPECT_EQ(ctx().windows->fileBrowser(), b);
    b->prepare("*.txt", true, "DtxtA12");
    f.dialogs.showModal(b);
    EXPECT_EQ(b->TxtChemin->text(), pictures);
    EXPECT_TRUE(b->Text1->text().isEmpty());
    EXPECT_TRUE(!b->Picture1->isVisible() && b->TextRech->isVisible());
    EXPECT_EQ(listed(b->File1), QStringList({"lettre.txt"}));
    b->clickFile("lettre.txt");
    EXPECT_EQ(b->TextRech->toPlainText(), QString::fromUtf8("Chère Madame,\nBien à vous.\n"));
    EXPECT_EQ(b->Text1->text(), values().Label2 + "DtxtA12.txt");

    // A copy that cannot be made is said, and the browser stays open.
    values().Label2 = tmp.path() + "/absent/";
    b->clickFile("lettre.txt");
    b->Command1->click();
    EXPECT_EQ(f.dialogs.lastMessage(), QString::fromUtf8("Le fichier n'a pas pu être copié !"));
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_TRUE(b->isVisible());
    b->close();
}
