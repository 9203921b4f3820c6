// The card window's documents, viewers, address, e-mail and prints, read back from PDF.
#include "core/external/external_programs.h"
#include "gui/cards/scan_viewer_window.h"
#include "gui/cards/text_viewer_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/widgets/photo_frame.h"
#include "gui_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>

using namespace testing_support;

namespace {

class CardDocumentsTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* w = nullptr;
    QString db;
    QTemporaryDir tmp;
    QString mine;  // the user's own folder of files to attach

    // Cards by name: ARNAUD (2), BERNARD (1), shown first: card 2.
    void SetUp() override
    {
        const CardRecord arnaud = withFields(makeCard("ARNAUD", "Zoé", 1, 200, 150, "17000", "LA ROCHELLE"), {{10, "zoe@exemple.fr"}});
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), arnaud, makeCard("CAMUS", "Léa", 2, 300, 200)});
        w = f.open<FFrance4>("Voirlesfiches");
        ASSERT_NE(w, nullptr);
        clickRow(child<CardListView>(w, "List1"), 0);
        mine = tmp.path() + "/Mes documents/";
        QDir().mkpath(mine);
        picture("vacances.JPG", {120, 90});
        picture("image.jpeg", {90, 120});
            writeBytes(mine + "faux.jpg", "ceci n'est pas une image\r\n");
        writeBytes(mine + "lettre.txt", "Ch\xE8re Madame,\r\nBien \xE0 vous.\r\n");
        f.dialogs.messages.clear();
    }
    void picture(const QString& name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(size.width() > 100 ? Qt::red : Qt::blue);
        ASSERT_TRUE(image.save(mine + name, "JPG"));
    }
    void menu(const char* name) { child<QAction>(w, name)->trigger(); }
    // The menu entry opens the file browser; file is chosen there and saved.
    Ffrance23* attach(const char* entry, const QString& file)
    {
        Ffrance23* browser = nullptr;
        f.dialogs.modalScripts.enqueue([&](QWidget* b) {
            browser = qobject_cast<Ffrance23*>(b);
            ASSERT_NE(browser, nullptr);
            ASSERT_TRUE(browser->openFolder(mine));
            ASSERT_TRUE(clickItem(browser, "File1", file));
            click(child<QPushButton>(browser, "Command1"));
        });
        menu(entry);
        return browser;
    }
    PhotoFrame* photo() const { return child<PhotoFrame>(w, "Picture1"); }
    void clickPhoto() { click(photo(), photo()->rect().center()); }
};

}  // namespace

TEST_F(CardDocumentsTest, PhotosAndScansAreAttachedShownAndPrinted)
{
    // A file that is no picture is refused, the browser staying open for another (which, and the words, are the core's).
    Ffrance23* browser = attach("photo", "faux.jpg");
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(f.dialogs.lastMessage(), " Ce fichier n'est pas une image !");
    EXPECT_TRUE(browser->isVisible());
    browser->hide();
    EXPECT_FALSE(QFile::exists(db + "photo2.jpg"));

    attach("photo", "vacances.JPG");
    EXPECT_EQ(readBytes(db + "photo2.jpg"), readBytes(mine + "vacances.JPG"));
    ASSERT_FALSE(photo()->image().isNull());
    // Over the photo already there: asked first, "Non" by default keeps it.
    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    attach("photo", "image.jpeg");
    EXPECT_EQ(f.dialogs.questions[0].text, " Un document est déjà joint sous ce nom : le remplacer ?");
    EXPECT_EQ(f.dialogs.questions[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(readBytes(db + "photo2.jpg"), readBytes(mine + "vacances.JPG"));
    browser->hide();
    attach("photo", "image.jpeg");
    EXPECT_EQ(readBytes(db + "photo2.jpg"), readBytes(mine + "image.jpeg"));
    EXPECT_EQ(QDir(db).entryList({"photo2*"}, QDir::Files), QStringList{"photo2.jpg"});

    // A click on the frame reads the photo again (which pictures load is the core's).
    ASSERT_TRUE(QFile::remove(db + "photo2.jpg"));
    clickPhoto();
    EXPECT_TRUE(photo()->image().isNull());

    // Scans: shown in their viewer, printed, handed on.
    attach("RechScan2", "image.jpeg");
    EXPECT_EQ(readBytes(db + "ScanB2.jpg"), readBytes(mine + "image.jpeg"));
    menu("VoirTB4");
    auto* viewer = qobject_cast<Ffrance16*>(f.dialogs.lastModal());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->documentPath(), db + "ScanB2.jpg");
    ASSERT_FALSE(child<PhotoFrame>(viewer, "Picture1")->image().isNull());
    f.dialogs.printToPdf = tmp.filePath("scan.pdf");
    click(child<QPushButton>(viewer, "Imprimer"));
    EXPECT_GT(readBytes(tmp.filePath("scan.pdf")).size(), 500);
    // (A document handed to its program is the texts' below; the scanning instruction is the core's.)
}

TEST_F(CardDocumentsTest, TextsAddressEmailAndPrintsOfTheShownCard)
{
    Ffrance23* browser = attach("RechTxt1", "lettre.txt");
    EXPECT_TRUE(child<QPlainTextEdit>(browser, "TextRech")->isVisibleTo(browser));
    menu("VoirTB1");
    auto* viewer = qobject_cast<Ffrancelic*>(f.dialogs.lastModal());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->documentPath(), db + "DtxtA2.txt");
    auto* text = child<QPlainTextEdit>(viewer, "Text1");
    EXPECT_EQ(text->toPlainText(), "Chère Madame,\nBien à vous.\n");
    click(child<QPushButton>(viewer, "Command1"));  // all selected, then copied
    QApplication::clipboard()->clear();
    click(child<QPushButton>(viewer, "Command2"));
    EXPECT_EQ(QApplication::clipboard()->text(), "Chère Madame,\nBien à vous.\n");
    f.dialogs.printToPdf = tmp.filePath("lettre.pdf");
    click(child<QPushButton>(viewer, "Picture1"));
    EXPECT_TRUE(pdfText(tmp.filePath("lettre.pdf")).contains("Chère Madame,\nBien à vous."));
    viewer->hide();
    // The word processor gets card 2's second document (found in any case: the core's).
    writeBytes(db + "DTXTB2.TXT", "Second");
    ASSERT_TRUE(tb::storeProgramPath(f.program.path(), 2, "/usr/bin/abiword"));
    menu("VoirTT2");
    ASSERT_EQ(f.launcher.programs.size(), 1);
    EXPECT_EQ(f.launcher.programs[0].program, "/usr/bin/abiword");
    EXPECT_EQ(f.launcher.programs[0].args, QStringList{db + "DTXTB2.TXT"});

    // No spreadsheet program chosen: the desktop's own (the address file for the word processor is the core's).
    writeBytes(db + "F2.xls", "xls");
    menu("Feuillexls");
    EXPECT_EQ(f.launcher.documents, QStringList{db + "F2.xls"});
    menu("Courrier");
    ASSERT_EQ(f.launcher.urls.size(), 1);
    EXPECT_EQ(f.launcher.urls[0].toString(), "mailto:zoe@exemple.fr");
    child<QLineEdit>(w, "Text1(9)")->clear();
    menu("Courrier");
    EXPECT_EQ(f.launcher.urls.size(), 1);

    // Printed as typed (the pages of every card are the core's).
    f.dialogs.printToPdf = tmp.filePath("fiche.pdf");
    child<QLineEdit>(w, "Text1(3)")->setText("Zoé-Chloé");
    menu("ImprimFic");
    const QString one = pdfText(tmp.filePath("fiche.pdf"));
    EXPECT_TRUE(one.contains("Fiche 2\n") && one.contains("Zoé-Chloé") && !one.contains("BERNARD")) << one.toStdString();
}
