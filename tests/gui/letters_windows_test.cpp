// The form letters and the debtors through their windows.
#include "gui/app/secondary_window.h"
#include "gui/journals/debtors_window.h"
#include "gui/letters/letter_editor_window.h"
#include "gui/letters/letter_send_window.h"
#include "support/gui_fixture.h"

#include <QListView>
#include <QTextEdit>

using namespace testing_support;

namespace {

CardRecord owing(const QString& surname, const QString& street, const QString& due)
{
    return withFields(makeCard(surname, "Jean", 2, 100, 100, "17000", "La Rochelle"), {{2, "M."}, {5, street}, {20, due}});
}

TEST(LetterEditorWindow, AFieldInsertedKeptInUtf8AndAChangedLetterAskedForOnLeaving)
{
    GuiFixture f;
    f.openWithCards({owing("DUPONT", "1 quai Duperré", "")});
    auto* w = f.open<FLettres>("LettresTypes");
    ASSERT_NE(w, nullptr);
    auto* letters = child<QListWidget>(w, "List1");
    EXPECT_EQ(rowTexts(letters), (QStringList{"Courrier simple", "Relance"}));
    EXPECT_EQ(w->currentLetter(), "Courrier simple");
    auto* text = child<QTextEdit>(w, "Text1");
    child<QComboBox>(w, "Combo1")->setCurrentText("Reste dû");
    text->moveCursor(QTextCursor::End);
    click(child<QPushButton>(w, "Command1"));
    click(child<QPushButton>(w, "Command10"));
    EXPECT_TRUE(QString::fromUtf8(readBytes(f.program.file("Lettres/Courrier simple.html"))).contains("«Reste dû»"));

    // A new letter; leaving it changed asks, Annuler stays, Oui keeps it.
    f.dialogs.inputAnswers << QStringLiteral("Été");
    click(child<QPushButton>(w, "Command8"));
    EXPECT_EQ(rowTexts(letters), (QStringList{"Courrier simple", "Été", "Relance"}));
    EXPECT_EQ(w->currentLetter(), "Été");
    typeText(text, "bonjour");
    text->selectAll();
    click(child<QPushButton>(w, "Command3"));
    f.dialogs.questionAnswers << QMessageBox::Cancel << QMessageBox::Yes;
    letters->setCurrentRow(2);
    EXPECT_EQ(f.dialogs.questions.last().text, "Voulez-vous enregistrer la lettre « Été » ?");
    EXPECT_EQ(w->currentLetter(), "Été");
    EXPECT_EQ(letters->currentItem()->text(), "Été");
    // Closed from its real modal loop: the question, then the letter kept.
    QPointer<FLettres> guard(w);
    runInRealModalLoop(w, [w] { w->close(); }, 20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(QString::fromUtf8(readBytes(f.program.file("Lettres/Été.html"))).contains("BONJOUR"));
}

TEST(DebtorsWindow, ListedLargestFirstPrintedThenSentTheRelanceLetterWithWhatIsMissingSaid)
{
    GuiFixture f;
    f.openWithCards({owing("DUPONT", "1 quai Duperré", "150.00"), owing("MARTIN", "", "320.00"),
                     owing("PETIT", "3 rue Chef de Ville", ".00")});
    auto* w = f.open<FDebiteurs>("Debiteurs");
    ASSERT_NE(w, nullptr);
    auto* list = child<QListView>(w, "List1");
    EXPECT_EQ(rowNumbers(list), (QList<long long>{2, 1}));
    EXPECT_EQ(labelText(w, "Label1"), "Total dû : 470.00 (2 débiteur(s))");

    click(child<QPushButton>(w, "Command1"));
    EXPECT_EQ(f.dialogs.previews, 1);
    EXPECT_TRUE(pdfText(f.dialogs.previewPdf).contains("Total dû : 470.00"));

    // No line chosen: every debtor gets the letter.
    click(child<QPushButton>(w, "Command2"));
    QPointer<FEnvoiLettres> send = f.shown<FEnvoiLettres>();
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(labelText(send, "Label1"), "Lettre à envoyer à 2 fiche(s) :");
    ASSERT_TRUE(clickItem(send, "List1", "Relance"));
    QTemporaryDir out;
    f.dialogs.printToPdf = out.filePath("relances.pdf");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    click(child<QPushButton>(send, "Command1"));
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    const QString report = f.dialogs.questions.last().text;
    EXPECT_TRUE(report.contains("Fiche n° 2 (MARTIN Jean) : « Rue » est vide.")) << report.toStdString();
    EXPECT_EQ(pdfText(f.dialogs.printToPdf).count(u'\f'), 2);  // a page a debtor (what it holds is the core's)
    EXPECT_TRUE(isClosed(send));

    // One line chosen: that card alone; the card window sends its own card.
    list->selectionModel()->select(list->model()->index(1, 0), QItemSelectionModel::ClearAndSelect);
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(labelText(f.shown<FEnvoiLettres>(), "Label1"), "Lettre à envoyer à 1 fiche(s) :");
    f.shown<FEnvoiLettres>()->close();
    list->setCurrentIndex(list->model()->index(1, 0));
    keyClick(list, Qt::Key_Return);
    auto* card = f.shown<FFrance4>();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(labelText(card, "Label2"), "1");
    child<QAction>(card, "LettreType")->trigger();
    EXPECT_EQ(labelText(f.shown<FEnvoiLettres>(), "Label1"), "Lettre à envoyer à 1 fiche(s) :");
}

}  // namespace
