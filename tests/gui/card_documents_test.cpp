// The card window's documents, viewers, address, e-mail and prints, read back from PDF; the note editor; nothing
// lost by mistake (edits asked about, deletions undone, the trash, recent databases).
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/external/external_programs.h"
#include "core/tools/note_cipher.h"
#include "gui/cards/scan_viewer_window.h"
#include "gui/cards/text_viewer_window.h"
#include "gui/cards/trash_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/tools/note_editor_window.h"
#include "gui/widgets/photo_frame.h"
#include "gui_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

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

// The note editor opened from the card window.
namespace {

class NoteEditorTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* card = nullptr;
    QString db;

    // Card 2 (ARNAUD Zoé) is shown first: it comes first by name.
    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100),
                              withFields(makeCard("ARNAUD", "Zoé", 1, 200, 150, "30210", "Vers-Pont-du-Gard"), {{2, "Mme"}})});
        card = f.open<FFrance4>("Voirlesfiches");
        ASSERT_NE(card, nullptr);
        clickRow(child<CardListView>(card, "List1"), 0);
    }

    QString notePath() const { return db + QStringLiteral("F2.txt"); }
    FFrance9* openEditor()
    {
        child<QAction>(card, "notesconf")->trigger();
        return f.shown<FFrance9>();
    }
    static QPlainTextEdit* note(QWidget* w) { return child<QPlainTextEdit>(w, "Text1"); }
    static void press(QWidget* w, const char* button) { child<QPushButton>(w, button)->click(); }
    static void typeAtEnd(QWidget* w, const QString& text)
    {
        note(w)->moveCursor(QTextCursor::End);
        keyClick(note(w), Qt::Key_Return);
        typeText(note(w), text);
    }
    static void select(QWidget* w, int from, int to)
    {
        QTextCursor c = note(w)->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        note(w)->setTextCursor(c);
    }
    // Closed with the answer given to the question.
    bool closeAnswering(QWidget* w, QMessageBox::StandardButton answer)
    {
        f.dialogs.questionAnswers.enqueue(answer);
        return closeAndDelete(w);
    }
};

}  // namespace

TEST_F(NoteEditorTest, OpensOnTheShownCardEditsPrintsAndSavesOnlyWhenTheQuestionSaysOui)
{
    writeBytes(notePath(), "Rappeler lundi\r\n");
    FFrance9* w = openEditor();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(child<QLineEdit>(w, "Text2")->text(), notePath());
    const QString summary = child<QPlainTextEdit>(w, "Text5")->toPlainText();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("Mme ARNAUD Zoé "))) << summary.toStdString();  // its lines are the core's
    EXPECT_EQ(note(w)->toPlainText(), "Rappeler lundi");  // less the line end saving added
    // Typed, then Non: nothing written. Annuler keeps the window open with what was typed; Oui then saves it.
    typeAtEnd(w, QStringLiteral("réglé"));
    EXPECT_TRUE(closeAnswering(w, QMessageBox::No));
    EXPECT_EQ(f.dialogs.questions[0].text, "Voulez-vous enregistrer le fichier " + notePath() + " ?");
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\n"));
    w = openEditor();
    typeAtEnd(w, QStringLiteral("réglé"));
    EXPECT_FALSE(closeAnswering(w, QMessageBox::Cancel));
    EXPECT_TRUE(closeAnswering(w, QMessageBox::Yes));
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\nr\xE9gl\xE9\r\n"));

    // "Effacer le texte": an empty note closes without a question, the file untouched.
    w = openEditor();
    press(w, "Command5");
    const qsizetype asked = f.dialogs.questions.size();
    EXPECT_TRUE(closeAndDelete(w));
    EXPECT_EQ(f.dialogs.questions.size(), asked);
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\nr\xE9gl\xE9\r\n"));

    // The case buttons change the selection (line end and "ÿ" included) and keep it selected;
    // without a selection nothing changes.
    writeBytes(notePath(), tb::toCp1252(QStringLiteral("100 Bonjour madame Weiß\r\nÿ fin\r\n")));
    w = openEditor();
    select(w, 12, 25);  // "madame Weiß", the line end, "ÿ"
    press(w, "Command2");
    EXPECT_EQ(note(w)->toPlainText(), "100 Bonjour MADAME WEIß\nŸ fin");
    EXPECT_EQ(note(w)->textCursor().selectionEnd(), 25);
    press(w, "Command1");
    EXPECT_EQ(note(w)->toPlainText(), "100 Bonjour madame weiß\nÿ fin");

    // Printed in the font and colour chosen (where the lines break is the core's); the note takes the colour.
    QTemporaryDir dir;
    f.dialogs.printToPdf = dir.filePath("note.pdf");
    QFont big(QStringLiteral("DejaVu Sans"), 28);
    big.setItalic(true);
    f.dialogs.fontAnswers.enqueue(big);
    f.dialogs.colorAnswers.enqueue(QColor(Qt::darkGreen));
    press(w, "Command10");
    const QString printed = pdfText(f.dialogs.printToPdf);  // "fi" comes back as its ligature
    EXPECT_TRUE(printed.contains(QStringLiteral("100 Bonjour madame weiß\nÿ "))) << printed.toStdString();
    EXPECT_EQ(note(w)->palette().color(QPalette::Text), QColor(Qt::darkGreen));
    closeAnswering(w, QMessageBox::Yes);
    EXPECT_EQ(readBytes(notePath()), QByteArray("100 Bonjour madame wei\xDF\r\n\xFF fin\r\n"));

    // The clipboard viewer shows what is copied; the real modal loop ends when the editor closes.
    w = openEditor();
    press(w, "Command8");
    ASSERT_EQ(f.dialogs.modeless.size(), 1);
    QWidget* viewer = f.dialogs.modeless.last();
    QGuiApplication::clipboard()->setText(QStringLiteral("copié"));
    EXPECT_EQ(child<QPlainTextEdit>(viewer, "ClipboardText")->toPlainText(), "copié");
    QPointer<FFrance9> guard(w);
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    runInRealModalLoop(w, [w] {
        note(w)->moveCursor(QTextCursor::End);
        typeText(note(w), QStringLiteral("d"));
        w->close();
    }, 50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard);
    EXPECT_EQ(readBytes(notePath()), QByteArray("100 Bonjour madame wei\xDF\r\n\xFF find\r\n"));
}

TEST_F(NoteEditorTest, EncipheredNoteSavedAndReopenedDeciphersExactlyAndAnUnusableKeyLeavesIt)
{
    // That every byte comes back is the core's.
    const QByteArray original = "Code portail 1985A\r\nCoffre : \xE0 gauche";
    writeBytes(notePath(), original + "\r\n");
    const QString key = QStringLiteral("PontDuGard1985");

    // No usable character (which are usable is the core's), cancelled, empty: the note stays, one message.
    FFrance9* w = openEditor();
    f.dialogs.inputAnswers << QStringLiteral("  éèà  ") << std::nullopt << QString() << key;
    for (int i = 0; i < 4; ++i)
        press(w, "Command3");
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.lastMessage(), " La clé ne contient aucun caractère utilisable !");
    EXPECT_EQ(f.dialogs.busyDepth, 0);
    EXPECT_FALSE(note(w)->toPlainText().contains(QStringLiteral("Code portail")));
    ASSERT_TRUE(closeAnswering(w, QMessageBox::Yes));
    EXPECT_EQ(readBytes(notePath()), tb::cipherBytes(original, tb::noteKeyBytes(key)) + "\r\n");

    // The right key gives the note back, byte for byte.
    w = openEditor();
    f.dialogs.inputAnswers.enqueue(key);
    press(w, "Command3");
    ASSERT_TRUE(closeAnswering(w, QMessageBox::Yes));
    EXPECT_EQ(readBytes(notePath()), original + "\r\n");
}

// Nothing lost by mistake: edits asked about, deletions undone, the trash, recent databases.
namespace {

class NothingLostTest : public ::testing::Test {
protected:
    GuiFixture f;
    QString db;

    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), makeCard("ARNAUD", "Zoé", 1, 200, 150)});
    }
    FFrance4* openCardWindow() { return f.open<FFrance4>("Voirlesfiches"); }
    CardRecord stored(long long n) const { return CardStore(db).read(n).value(); }
    static QLineEdit* field(QWidget* w, int i) { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
};

}  // namespace

TEST_F(NothingLostTest, ClosingACardWithEditsAsksAndEachAnswerDoesWhatItSays)
{
    const QByteArray before = readBytes(db + "lesfiches.dat");
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    activate(w);
    field(w, 10)->setFocus();
    typeText(field(w, 10), "Rappeler lundi");
    EXPECT_EQ(labelText(w, "StatusLine"), " Modifications non enregistrées.");

    // Annuler: the window stays, nothing written.
    f.dialogs.questionAnswers << QMessageBox::Cancel;
    keyClick(field(w, 10), Qt::Key_Escape);
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_EQ(f.dialogs.questions[0].text, " Enregistrer les modifications de la fiche ? ");
    EXPECT_EQ(f.dialogs.questions[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);

    // Non: closed, nothing written.
    f.dialogs.questionAnswers << QMessageBox::No;
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);

    // Oui: stored, then closed.
    w = openCardWindow();
    typeText(field(w, 10), "Rappeler lundi");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(stored(1).field(11).trimmed(), "Rappeler lundi");
    EXPECT_EQ(readBytes(db + "lesfiches.dat").mid(630), before.mid(630));
    // Without edits nothing is asked.
    w = openCardWindow();
    w->close();
    EXPECT_EQ(f.dialogs.questions.size(), 3);
}

TEST_F(NothingLostTest, ArchiveThenDeleteDeletesTheArchivedCardAndCtrlZBringsItBack)
{
    const CardRecord zoe = stored(2);
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    clickRow(child<CardListView>(w, "List1"), 0);  // ARNAUD Zoé, card 2
    child<QAction>(w, "ArchFfic")->trigger();
    EXPECT_EQ(labelText(w, "Label2"), "2");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    child<QAction>(w, "Supprimer")->trigger();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 1\r\n");
    EXPECT_EQ(stored(1).field(3).trimmed(), "BERNARD");
    EXPECT_TRUE(labelText(w, "StatusLine").contains("Fiche supprimée."));

    activate(w);
    child<CardListView>(w, "List1")->setFocus();
    keyClick(child<CardListView>(w, "List1"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    QByteArray archived = zoe.toBytes();
    archived[0] = '0';
    EXPECT_EQ(stored(2).toBytes(), archived);
    EXPECT_EQ(labelText(w, "Label2"), "2");
    // Once only.
    keyClick(child<CardListView>(w, "List1"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
}

TEST_F(NothingLostTest, TheTrashWindowRestoresPurgesAndEmpties)
{
    FFrance4* card = openCardWindow();
    f.dialogs.questionAnswers << QMessageBox::Yes << QMessageBox::Yes;
    child<QAction>(card, "Supprimer")->trigger();  // BERNARD Yves
    child<QAction>(card, "Supprimer")->trigger();  // ARNAUD Zoé, now card 1
    card->close();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 0\r\n");

    auto* w = f.open<FCorbeille>("Corbeille");
    ASSERT_NE(w, nullptr);
    auto* list = child<QTreeWidget>(w, "List1");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    list->setCurrentItem(list->findItems("BERNARD Yves", Qt::MatchExactly).value(0));
    click(child<QPushButton>(w, "Command1"));
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "1\r\n");
    EXPECT_EQ(stored(1).field(3).trimmed(), "BERNARD");
    ASSERT_EQ(list->topLevelItemCount(), 1);

    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(f.dialogs.questions.last().text, " Supprimer définitivement cette fiche de la corbeille ? ");
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "1\r\n");
}

TEST_F(NothingLostTest, RecentDatabasesSurviveARestartAndTheFirstStartSaysWhereToBegin)
{
    const QString opened = db;
    f.main.reset();
    f.main = std::make_unique<FFrance>(f.dialogs, f.launcher, f.program.path());
    QAction* recent = f.main->findChild<QAction*>("Recent1");
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->text().remove(u'&'), opened.chopped(1));
    recent->trigger();
    EXPECT_EQ(f.db(), opened);
    // Reopened at start once asked for.
    f.main->findChild<QAction*>("RouvrirDerniere")->setChecked(true);
    f.main.reset();
    f.main = std::make_unique<FFrance>(f.dialogs, f.launcher, f.program.path());
    EXPECT_EQ(f.db(), opened);
    f.main->findChild<QAction*>("RouvrirDerniere")->setChecked(false);
}

TEST_F(NothingLostTest, APersonsDataIsWrittenThenThePersonErasedForGood)
{
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    const QString zip = QDir(db + "..").absolutePath() + "/jean.zip";
    f.dialogs.fileAnswers << zip;
    child<QAction>(w, "DonneesPerso")->trigger();
    EXPECT_TRUE(QFile::exists(zip));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(" Les données de la fiche sont écrites dans "));

    // Non keeps the card; Oui erases it without the trash (what goes is the core's).
    const QByteArray before = readBytes(db + "lesfiches.dat");
    f.dialogs.questionAnswers << QMessageBox::No;
    child<QAction>(w, "EffacerPersonne")->trigger();
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);
    f.dialogs.questionAnswers << QMessageBox::Yes;
    child<QAction>(w, "EffacerPersonne")->trigger();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 1\r\n");
    EXPECT_EQ(f.dialogs.lastMessage(), " La personne est effacée. Aucune sauvegarde connue ne la contient.");
}
