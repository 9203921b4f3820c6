// The note editor opened from the card window: the card and its note, the
// question on closing, the cipher through the window, the case buttons and
// printing.
#include "core/base/codepage.h"
#include "core/tools/note_cipher.h"
#include "gui/tools/note_editor_window.h"
#include "gui_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

using namespace testing_support;

namespace {

class NoteEditorTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* card = nullptr;
    QString db;

    // Card 2 (ARNAUD Zoé) is shown first: it comes first by name.
    void SetUp() override
    {
        CardRecord arnaud = makeCard("ARNAUD", "Zoé", 1, 200, 150, "30210", "Vers-Pont-du-Gard");
        arnaud.fields[1] = tb::padField(QStringLiteral("Mme"), 15);
        arnaud.fields[9] = tb::padField(QStringLiteral("zoe@exemple.fr"), 40);
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), arnaud});
        f.trigger("Voirlesfiches");
        card = qobject_cast<FFrance4*>(f.dialogs.lastModal());
        ASSERT_NE(card, nullptr);
        clickRow(child<CardListView>(card, "List1"), 0);
    }

    QString notePath() const { return db + QStringLiteral("F2.txt"); }

    FFrance9* openEditor()
    {
        child<QAction>(card, "notesconf")->trigger();
        return qobject_cast<FFrance9*>(f.dialogs.lastModal());
    }
    static QPlainTextEdit* note(QWidget* w) { return child<QPlainTextEdit>(w, "Text1"); }
    static void press(QWidget* w, const char* button) { child<QPushButton>(w, button)->click(); }
    static void typeAtEnd(QWidget* w, const QString& text)
    {
        note(w)->moveCursor(QTextCursor::End);
        keyClick(note(w), Qt::Key_Return);
        typeText(note(w), text);
    }
};

}  // namespace

TEST_F(NoteEditorTest, OpensOnTheShownCardAndSavesOnlyWhenTheQuestionSaysOui)
{
    writeBytes(notePath(), "Rappeler lundi\r\n");
    FFrance9* w = openEditor();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Fiche confidentielle");
    EXPECT_EQ(child<QLineEdit>(w, "Text2")->text(), notePath());
    const QString summary = child<QPlainTextEdit>(w, "Text5")->toPlainText();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("Mme ARNAUD Zoé "))) << summary.toStdString();  // its lines are the core's
    EXPECT_EQ(note(w)->toPlainText(), "Rappeler lundi");  // less the line end saving added
    EXPECT_FALSE(child<QLabel>(w, "Text4")->isVisible());

    // Opened and saved unchanged: the file keeps its length.
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    EXPECT_TRUE(closeAndDelete(w));
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_EQ(f.dialogs.questions[0].text, "Voulez-vous enregistrer le fichier " + notePath() + " ?");
    EXPECT_EQ(f.dialogs.questions[0].title, "Attention !");
    EXPECT_EQ(f.dialogs.questions[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\n"));

    // Typed, then Non: nothing written.
    w = openEditor();
    typeAtEnd(w, QStringLiteral("réglé"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    EXPECT_TRUE(closeAndDelete(w));
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\n"));

    // Annuler keeps the window open with what was typed; Oui then saves it.
    w = openEditor();
    typeAtEnd(w, QStringLiteral("réglé"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::Cancel);
    EXPECT_FALSE(closeAndDelete(w));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\n"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    EXPECT_TRUE(closeAndDelete(w));
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\nr\xE9gl\xE9\r\n"));

    // "Effacer le texte": an empty note closes without a question, the file untouched.
    w = openEditor();
    press(w, "Command5");
    EXPECT_EQ(note(w)->toPlainText(), "");
    const int asked = int(f.dialogs.questions.size());
    EXPECT_TRUE(closeAndDelete(w));
    EXPECT_EQ(f.dialogs.questions.size(), asked);
    EXPECT_EQ(readBytes(notePath()), QByteArray("Rappeler lundi\r\nr\xE9gl\xE9\r\n"));
}

TEST_F(NoteEditorTest, EncipheredNoteSavedAndReopenedDeciphersExactlyAndAnUnusableKeyLeavesIt)
{
    // Every byte value, so that the cipher's output holds CR, LF and the others.
    QByteArray original = "Code portail 1985A\r\nCoffre : \xE0 gauche\r\n";
    for (int b = 0; b < 256; ++b)
        original.append(char(b));
    writeBytes(notePath(), original + "\r\n");
    const QString key = QStringLiteral("PontDuGard1985");

    // No usable character (which are usable is the core's), cancelled, empty: the note stays, one message.
    FFrance9* w = openEditor();
    f.dialogs.inputAnswers << QStringLiteral("  éèà  ") << std::nullopt << QString() << key;
    for (int i = 0; i < 4; ++i)
        press(w, "Command3");
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.lastMessage(), " La clé ne contient aucun caractère utilisable !");
    EXPECT_EQ(f.dialogs.inputs[0].title, "Clé de cryptage aux choix de l'utilisateur");
    EXPECT_TRUE(f.dialogs.inputs[0].text.startsWith(
        "Saisir une clé composée de chiffres et de lettres uniquement, sans espace. ex:PontDuGard1985"));
    EXPECT_TRUE(f.dialogs.inputs[0].text.endsWith(
        "Attention :Prenez note de cette clé qui vous sera indispensable pour décrypter !"));
    EXPECT_EQ(f.dialogs.busyDepth, 0);
    EXPECT_FALSE(note(w)->toPlainText().contains(QStringLiteral("Code portail")));
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    ASSERT_TRUE(closeAndDelete(w));
    EXPECT_EQ(readBytes(notePath()), tb::cipherBytes(original, tb::noteKeyBytes(key)) + "\r\n");

    // The right key gives the note back, byte for byte.
    w = openEditor();
    f.dialogs.inputAnswers.enqueue(key);
    press(w, "Command3");
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    ASSERT_TRUE(closeAndDelete(w));
    EXPECT_EQ(readBytes(notePath()), original + "\r\n");
}

TEST_F(NoteEditorTest, CaseButtonsChangeTheSelectionAndKeepItSelected)
{
    writeBytes(notePath(), tb::toCp1252(QStringLiteral("Bonjour madame Weiß\r\nÿ fin\r\n")));
    FFrance9* w = openEditor();
    EXPECT_EQ(child<QPushButton>(w, "Command1")->toolTip(), "La sélection sera mise en minuscules");
    EXPECT_EQ(child<QPushButton>(w, "Command2")->toolTip(), "La sélection sera mise en majuscules");
    QTextCursor c = note(w)->textCursor();
    c.setPosition(8);
    c.setPosition(21, QTextCursor::KeepAnchor);  // "madame Weiß" and the line end, "ÿ"
    note(w)->setTextCursor(c);
    press(w, "Command2");
    EXPECT_EQ(note(w)->toPlainText(), "Bonjour MADAME WEIß\nŸ fin");
    EXPECT_EQ(note(w)->textCursor().selectionStart(), 8);
    EXPECT_EQ(note(w)->textCursor().selectionEnd(), 21);
    EXPECT_TRUE(note(w)->hasFocus() || !w->isActiveWindow());
    press(w, "Command1");
    EXPECT_EQ(note(w)->toPlainText(), "Bonjour madame weiß\nÿ fin");
    EXPECT_EQ(note(w)->textCursor().selectionStart(), 8);
    EXPECT_EQ(note(w)->textCursor().selectionEnd(), 21);
    // No selection: nothing changes.
    c.clearSelection();
    note(w)->setTextCursor(c);
    press(w, "Command2");
    EXPECT_EQ(note(w)->toPlainText(), "Bonjour madame weiß\nÿ fin");
    // A selected amount converted in a message; the note stays as it is.
    c.setPosition(0);
    c.insertText(QStringLiteral("100 "));
    c.setPosition(0);
    c.setPosition(3, QTextCursor::KeepAnchor);
    note(w)->setTextCursor(c);
    press(w, "Command9");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("100  Frs = 15,24 euros"));
    c.setPosition(0);
    c.setPosition(4, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    note(w)->setTextCursor(c);
    press(w, "Command4");
    EXPECT_EQ(note(w)->textCursor().selectedText().size(), note(w)->toPlainText().size());
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    closeAndDelete(w);
    EXPECT_EQ(readBytes(notePath()), QByteArray("Bonjour madame wei\xDF\r\n\xFF fin\r\n"));
}

TEST_F(NoteEditorTest, PrintsEveryWordOfTheNoteOrNothingWhenThePrinterIsCancelled)
{
    // Where the lines break is the core's; here the note reaches the printer.
    writeBytes(notePath(), tb::toCp1252(QStringLiteral("Première ligne\r\nmot1 mot2")) + "\r\n");
    FFrance9* w = openEditor();
    QTemporaryDir dir;
    f.dialogs.printToPdf = dir.filePath("note.pdf");
    QFont big(QStringLiteral("DejaVu Sans"), 28);
    big.setItalic(true);
    f.dialogs.fontAnswers.enqueue(big);
    f.dialogs.colorAnswers.enqueue(QColor(Qt::darkGreen));
    press(w, "Command10");
    EXPECT_TRUE(pdfText(f.dialogs.printToPdf).contains(QStringLiteral("Première ligne\nmot1 mot2")));
    // The note on screen takes the chosen colour.
    EXPECT_EQ(note(w)->palette().color(QPalette::Text), QColor(Qt::darkGreen));
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    closeAndDelete(w);
}

TEST_F(NoteEditorTest, RealModalLoopEndsWhenTheEditorClosesAndClipboardShowsText)
{
    writeBytes(notePath(), "abc\r\n");
    FFrance9* w = openEditor();
    press(w, "Command8");
    ASSERT_EQ(f.dialogs.modeless.size(), 1);
    QWidget* viewer = f.dialogs.modeless.last();
    EXPECT_EQ(viewer->windowTitle(), "Presse-papiers");
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
    EXPECT_EQ(readBytes(notePath()), QByteArray("abcd\r\n"));
}
