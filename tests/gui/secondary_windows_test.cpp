// The secondary windows: the three journals (checks and sums are the core's), the reminders at opening, the form
// letters and the debtors, the tools and accessories, the external programs.
#include "core/base/codepage.h"
#include "core/base/value_files.h"
#include "core/cards/card_store.h"
#include "core/journals/journal_dates.h"
#include "core/journals/journal_entries.h"
#include "core/postal/postal_directory.h"
#include "gui/app/secondary_window.h"
#include "gui/external/program_chooser_window.h"
#include "gui/external/program_paths_window.h"
#include "gui/journals/collections_journal_window.h"
#include "gui/journals/debtors_window.h"
#include "gui/journals/interest_journal_window.h"
#include "gui/journals/memento_window.h"
#include "gui/journals/reminders_window.h"
#include "gui/letters/letter_editor_window.h"
#include "gui/letters/letter_send_window.h"
#include "gui/postal/postal_window.h"
#include "gui/tools/converter_window.h"
#include "gui/tools/iban_window.h"
#include "gui/tools/rib_window.h"
#include "gui_fixture.h"
#include "support/gui_fixture.h"

#include <QListView>
#include <QTextEdit>
#include <QTreeWidget>

using namespace testing_support;

namespace {

class JournalWindowsTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* card = nullptr;
    QString db;

    void SetUp() override
    {
        db = f.openWithCards({withFields(makeCard("DURAND", "Marie", 1, 100, 100), {{15, "1000"}})});
        card = f.open<FFrance4>("Voirlesfiches");
        ASSERT_NE(card, nullptr);
    }
    template <typename W>
    W* open(const char* button)
    {
        child<QPushButton>(card, button)->click();
        return f.shown<W>();
    }
    CardRecord stored() const { return CardStore(db).read(1).value(); }
    QString cardField(int k) const { return child<QLineEdit>(card, QStringLiteral("Text1(%1)").arg(k - 1))->text(); }
    static void fill(QWidget* w, const QStringList& texts)
    {
        for (int i = 0; i < texts.size(); ++i)
            child<QLineEdit>(w, QStringLiteral("Text%1").arg(i + 1))->setText(texts[i]);
        child<QPushButton>(w, "Command1")->click();
    }
    // The entry of row chosen in the journal's list, then "Supprimer" answered.
    void remove(QWidget* w, int row, QMessageBox::StandardButton answer)
    {
        w->findChild<QListWidget*>("List1")->setCurrentRow(row);
        f.dialogs.questionAnswers.enqueue(answer);
        child<QPushButton>(w, "Command2")->click();
    }
};

TEST_F(JournalWindowsTest, CollectionsRecordPaymentsAndTheCardFollows)
{
    Ffrance19* w = open<Ffrance19>("Command1");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(labelText(w, "Label10"), "1000.00");

    QListWidget* list = w->findChild<QListWidget*>("List1");
    child<QPushButton>(w, "Command4")->click();
    EXPECT_EQ(child<QLineEdit>(w, "Text1")->text(), QDate::currentDate().toString("dd/MM/yy"));
    fill(w, {"05/12/26", "M. Durand", "chèque", "150"});
    EXPECT_EQ(list->count(), 1);  // its lines and the sums are the core's
    EXPECT_EQ(labelText(w, "Label6"), "150,00");
    EXPECT_EQ(labelText(w, "Label9"), "850,00");
    EXPECT_EQ(cardField(20), "850.00");

    // The question: Non changes nothing; Oui removes the selected entry.
    remove(w, 0, QMessageBox::No);
    const FakeDialogs::Shown& q = f.dialogs.questions.last();
    EXPECT_EQ(q.text, QStringLiteral("Souhaitez-vous SUPPRIMER cette ligne 150.00------------>05/12/26  M. Durand  chèque"));
    EXPECT_EQ(q.defaultButton, QMessageBox::No);
    EXPECT_EQ(q.helpPage, "journal-recouvrements.html");
    EXPECT_EQ(list->count(), 1);
    remove(w, 0, QMessageBox::Yes);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(readBytes(db + "R1.txt"), "");
    EXPECT_EQ(cardField(20), "1000.00");

    // A journal that cannot be written is said and changes nothing.
    const QByteArray records = readBytes(db + "lesfiches.dat");
    QFile::remove(db + "R1.txt");
    QDir().mkdir(db + "R1.txt");
    fill(w, {"05/12/26", "a", "b", "150"});
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(QStringLiteral("Erreur n° 75 : "))) << f.dialogs.lastMessage().toStdString();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), records);
    EXPECT_TRUE(closeAndDelete(w));
}

TEST_F(JournalWindowsTest, InterestPeriodsGoIntoTheTotalOwedShownOnTheCard)
{
    Ffrance18* w = open<Ffrance18>("Command4");
    ASSERT_NE(w, nullptr);
    fill(w, {"1000", "01/01/26", "01/04/26", "5"});
    fill(w, {"725", "01/01/26", "01/04/26", "4,5"});
    EXPECT_EQ(labelText(w, "Label6"), "20,66");
    EXPECT_EQ(stored().field(18).trimmed(), "1020.66");
    EXPECT_EQ(cardField(18), "1020.66");  // its printed lines are the core's
}

TEST_F(JournalWindowsTest, MementoRecordsAndClosingStoresTheCardTyped)
{
    child<QLineEdit>(card, "Text1(9)")->setText("Client fidèle");
    Ffrance92* w = open<Ffrance92>("Command5");
    ASSERT_NE(w, nullptr);
    fill(w, {"05/12/26", "Appel, rappeler lundi"});
    EXPECT_EQ(readBytes(db + "M1.txt"), "05/12/26--->Appel, rappeler lundi\r\n");
    EXPECT_NE(stored().field(10).trimmed(), QStringLiteral("Client fidèle"));
    remove(w, 0, QMessageBox::No);
    EXPECT_EQ(f.dialogs.questions.last().helpPage, "memento.html");
    EXPECT_TRUE(closeAndDelete(w));
    EXPECT_EQ(stored().field(10).trimmed(), QStringLiteral("Client fidèle"));
}

// A database opened with reminders due shows them, without holding the opening up.
TEST(RemindersAtOpening, ShowsTheRemindersDueAndOpensTheChosenCard)
{
    GuiFixture f;
    TempDatabase db(f.program.path(), "Clients");
    const QString folder = db.path();
    const QDate today = QDate::currentDate();
    const CardRecord bernard = withFields(makeCard("BERNARD", "Luc", 2, 140, 140), {{12, today.toString("dd/MM/") + "1980"}});
    writeCards(folder, {makeCard("DURAND", "Marie", 1, 100, 100), makeCard("ALBERT", "Jean", 3, 120, 120), bernard});
    writeBytes(folder + "M2.txt", tb::toCp1252(tb::journalDateText(today) + "--->Rappeler pour le devis\r\n"));
    writeBytes(folder + "M1.txt", tb::toCp1252(tb::journalDateText(today.addDays(-30)) + "--->Visite faite\r\n"));  // too old
    writeBytes(f.program.file("dossier.txt"), "Clients\r\n");
    f.openDatabase(folder);
    FRappels* w = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (w = f.window<FRappels>()) && w->isVisible(); }, 20000));
    auto* tree = child<QTreeWidget>(w, "List1");
    const auto rowOf = [tree](int row) {
        const QTreeWidgetItem* item = tree->topLevelItem(row);
        return item ? QStringList{item->text(0), item->text(1), item->text(2)} : QStringList{};
    };
    const QString day = today.toString("dd/MM/yyyy");
    ASSERT_EQ(tree->topLevelItemCount(), 2) << rowOf(0).join(" | ").toStdString();
    EXPECT_EQ(rowOf(0), (QStringList{day, "ALBERT Jean (n° 2)", "Rappeler pour le devis"}));
    EXPECT_EQ(rowOf(1), (QStringList{day, "BERNARD Luc (n° 3)", "Anniversaire"}));

    // "Ouvrir la fiche": the main window opens that card.
    tree->setCurrentItem(tree->topLevelItem(1));
    click(child<QPushButton>(w, "Command1"));
    auto* card = f.shown<FFrance4>();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(labelText(card, "Label2"), "3");
}

// The form letters and the debtors through their windows.

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

// The "Outils" and "Accessoires" windows' wiring; the sums, keys and postal lines are the core's (the calendar is
// only opened, with every window).
// Arrow keys on a closed list: the user's choice, one line at a time.
void choose(QComboBox* list, int index)
{
    while (list->currentIndex() != index)
        keyClick(list, list->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
}

TEST(Converter, RecalculatesAtEveryKeyAndChoiceAndTakesOnlyDigits)
{
    GuiFixture f;
    auto* w = f.open<FFrance8>("cvt");
    ASSERT_NE(w, nullptr);
    auto* amount = child<QLineEdit>(w, "Text1");
    auto* result = child<QLabel>(w, "Label3");
    auto* francs = child<QLabel>(w, "Label5");
    typeText(amount, "100");
    EXPECT_EQ(result->text(), "655,96");
    EXPECT_EQ(amount->toolTip(), "Cent  euros ");
    EXPECT_EQ(result->toolTip(), QString::fromUtf8("Six cent cinquante cinq  Francs français 96"));
    // Nothing typed leaves no words behind.
    for (int i = 0; i < 3; ++i)
        keyClick(amount, Qt::Key_Backspace);
    EXPECT_EQ(result->text(), ",00");
    EXPECT_TRUE(amount->toolTip().isEmpty() && result->toolTip().isEmpty() && francs->toolTip().isEmpty());

    // Choosing the currency chooses its rate and the other way round (a conversion either way is the core's).
    typeText(amount, "10");
    choose(child<QComboBox>(w, "Combo2"), 2);
    EXPECT_EQ(child<QComboBox>(w, "Combo3")->currentText(), "40.3399");
    EXPECT_EQ(result->text(), "403,40");
    EXPECT_EQ(francs->text(), "65,60");  // the euro side is still 10 euros
    choose(child<QComboBox>(w, "Combo3"), 9);  // the second 40.3399
    EXPECT_EQ(child<QComboBox>(w, "Combo2")->currentText(), "Francs luxembourgeois");

    // Only digits (the decimals asked are the core's): a letter is told and empties the amount; Delete empties it
    // with a beep.
    amount->clear();
    typeText(amount, "12a");
    EXPECT_EQ(f.dialogs.lastMessage(), "Cette zone ne doit comporter que des chiffres!");
    EXPECT_EQ(amount->text(), "");
    typeText(amount, "42");
    amount->setCursorPosition(1);
    keyClick(amount, Qt::Key_Delete);
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_EQ(amount->text(), "");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
}

TEST(RibAndIbanWindows, CodesTakeDigitsOnlyARefusalKeepsTheKeyShownAndAnIbanShowsItsRibOrWhyNot)
{
    GuiFixture f;
    auto* w = f.open<Ffrance17>("RIB");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(f.action("RIB")->isVisible());
    auto* bank = child<QLineEdit>(w, "Text1");
    auto* account = child<QLineEdit>(w, "Text3");
    const auto key = [&](const QString& b, const QString& g, const QString& c) {
        for (const auto& [name, text] : {std::pair{"Text1", b}, std::pair{"Text2", g}, std::pair{"Text3", c}}) {
            child<QLineEdit>(w, name)->clear();
            typeText(child<QLineEdit>(w, name), text);
        }
        child<QPushButton>(w, "Command1")->click();
        return labelText(w, "Label1");
    };
    EXPECT_EQ(key("30002", "00550", "0000157841Z"), "25");
    bank->clear();
    account->clear();
    typeText(bank, "3a0-0 02");
    EXPECT_EQ(bank->text(), "30002");
    EXPECT_EQ(f.dialogs.beeps, 3);
    typeText(account, "ab-");
    EXPECT_EQ(account->text(), "ab-");  // the account takes anything
    EXPECT_EQ(f.dialogs.beeps, 3);
    EXPECT_EQ(key("30002", "0055", "0000157841Z"), "25");
    EXPECT_EQ(f.dialogs.lastMessage(), QString::fromUtf8("Le code Guichet doit comporter 5 caractères"));

    ASSERT_TRUE(f.action("iban")->isVisible());
    ASSERT_TRUE(f.trigger("iban"));
    auto* iban = child<QLineEdit>(f.shown<FIban>(), "Text1");
    typeText(iban, "FR76 3000 6000 0112 3456 7890 189");
    click(child<QPushButton>(f.shown<FIban>(), "Command1"));
    EXPECT_EQ(labelText(f.shown<FIban>(), "Label2"),
              "IBAN valide\nBanque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89");
    // Return checks too.
    iban->setText("FR76 3000 6000 0112 3456 7890 188");
    keyClick(iban, Qt::Key_Return);
    EXPECT_EQ(labelText(f.shown<FIban>(), "Label2"),
              " IBAN invalide : les chiffres de contrôle ne correspondent pas au numéro");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
}

TEST(PostalSearch, ByCodeDefaultsTo17000AndRefusesCodesNotFiveLongByCityIsAnUpperCasedPrefix)
{
    GuiFixture f;
    f.trigger("Rechcp");
    FFrance5* w = f.window<FFrance5>();
    ASSERT_TRUE(w && f.dialogs.modeless.value(0) == w);
    EXPECT_EQ(w->lines(), tb::searchByPostalCode(f.program.path(), "17000"));
    // Too short or cancelled: told, the list cleared before asking, the window not shown again.
    for (const std::optional<QString>& answer : QList<std::optional<QString>>{"1700", std::nullopt}) {
        f.dialogs.inputAnswers.enqueue(answer);
        f.trigger("Rechcp");
        EXPECT_EQ(f.dialogs.lastMessage(), "Erreur de saisie !");
        EXPECT_EQ(f.dialogs.busyDepth, 0);
        EXPECT_TRUE(w->lines().isEmpty());
    }
    EXPECT_EQ(f.dialogs.modeless.size(), 1);

    // By city: the answer in capitals, accents kept; Cancel lists everything.
    f.dialogs.inputAnswers.enqueue(QString::fromUtf8("rennes-le-châ"));
    f.trigger("RechparVille");
    EXPECT_EQ(f.dialogs.modeless.last(), w);
    EXPECT_EQ(w->lines(), QStringList({QString::fromUtf8("RENNES-LE-CHÂTEAU 11190")}));
    f.dialogs.inputAnswers.enqueue(std::nullopt);
    f.trigger("RechparVille");
    EXPECT_EQ(w->lines(), tb::searchByCityPrefix(f.program.path(), ""));
}

// "Logiciels externes", "Sur la toile" and the database manager: what the launcher is asked to start.

void writeExecutable(const QString& path)
{
    writeBytes(path, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

TEST(ExternalProgramsWindows, ChosenProgramIsStoredWithoutExeAndStartsWithOneArgument)
{
    GuiFixture f;
    // Blanks, quotes, a comma, accents and a leading "-": each path is one argument.
    const QString folder = f.program.path() + QStringLiteral("Logiciels \"été\", v2/");
    ASSERT_TRUE(QDir().mkpath(folder));
    writeExecutable(folder + QStringLiteral("-Base Données.EXE"));
    writeBytes(folder + "notes.txt", "pas un programme");

    auto* chooser = f.open<Ffrance25>("LogTrtBdd");
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(chooser->openFolder(folder));
    EXPECT_EQ(rowTexts(child<QListWidget>(chooser, "File1")), QStringList{QStringLiteral("-Base Données.EXE")});
    ASSERT_TRUE(clickItem(chooser, "File1", QStringLiteral("-Base Données.EXE")));
    const QString stored = folder + QStringLiteral("-Base Données");
    click(child<QPushButton>(chooser, "Command1"));
    EXPECT_EQ(tb::readPathValue(f.program.file("LogBdd.txt")), stored);

    // The list of programs chosen (its lines are the core's).
    ASSERT_TRUE(f.trigger("LogExtActuels"));
    ASSERT_NE(f.shown<Ffrance14>(), nullptr);
    EXPECT_EQ(rowTexts(child<QListWidget>(f.shown<Ffrance14>(), "List1")).value(10), stored);
    f.shown<Ffrance14>()->close();

    // AppelGE: the program alone, found under its ".EXE".
    f.openWithCards({makeCard("Lavenu", "Paul", 3, 10, 10, "17340", "Yves")}, QStringLiteral("Clients \"A\", été"));
    f.dialogs.messages.clear();
    ASSERT_TRUE(f.trigger("AppelGE"));
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].text.startsWith(
        QStringLiteral("Lorsque vous aurez lancé votre gestionnaire externe de base de donnèes * ") + stored + " * "));
    ASSERT_EQ(f.launcher.programs.size(), 1);
    EXPECT_EQ(f.launcher.programs[0].program, stored + QStringLiteral(".EXE"));
    EXPECT_TRUE(f.launcher.programs[0].args.isEmpty());
    // (AppelMDB's export is the list window's, its database file found in any case the core's.)
}

TEST(ExternalProgramsWindows, WebEntriesOpenTheirAddresses)
{
    GuiFixture f;
    for (const char* name : {"auteur", "utile", "MsgAuteur", "msg"})
        ASSERT_TRUE(f.trigger(QString::fromLatin1(name))) << name;
    // The addresses are the core's.
    ASSERT_EQ(f.launcher.urls.size(), 4);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // A desktop with no browser: the user is told, not left waiting.
    f.launcher.succeeds = false;
    ASSERT_TRUE(f.trigger("utile"));
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Aucun programme n'a pu ouvrir « https://www.geoportail.gouv.fr/ »."));
    ASSERT_TRUE(f.trigger("aide"));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(QStringLiteral(" Le programme « "))) << f.dialogs.lastMessage().toStdString();
}

}  // namespace
