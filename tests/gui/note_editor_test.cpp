// The note editor opened from the card window.
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
