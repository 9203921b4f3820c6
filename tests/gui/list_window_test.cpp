// The list window through the real menus: lists, searches, opening a card, printing, exports, a selection, a long
// list filling while cards change; the print preview.
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/lists/card_lists.h"
#include "core/lists/list_page_layout.h"
#include "core/mail/sender_address.h"
#include "gui/lists/search_box.h"
#include "gui/mail/envelopes_window.h"
#include "gui/mail/labels_window.h"
#include "gui/mail/sender_window.h"
#include "gui_fixture.h"
#include "support/list_rows.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

using namespace testing_support;

namespace {

class ListWindowTest : public ::testing::Test {
protected:
    GuiFixture f;

    FFrance3* listShown() { return f.shown<FFrance3>(); }
    FFrance4* cardShown() { return f.shown<FFrance4>(); }
    static CardListView* view(QWidget* w) { return child<CardListView>(w, "List1"); }
    QString count() const { return labelText(f.window<FFrance3>(), "NbFiches"); }
    // Runs the search of that menu entry with the answer (nullopt: Cancel; none: the default answer).
    QList<long long> search(const char* entry, std::optional<std::optional<QString>> answer = std::nullopt)
    {
        if (answer)
            f.dialogs.inputAnswers.enqueue(*answer);
        f.trigger(entry);
        return listShown() ? rowNumbers(view(listShown())) : QList<long long>{-1};
    }
};

}  // namespace

TEST_F(ListWindowTest, SortedListsCountTheirCardsAndALineOpensItsCard)
{
    f.openWithCards({makeCard("VINCENT", "Véronique", 1, 1, 1, "75001", "Paris"),
                     makeCard("VINCENT", "Véronique", 2, 1, 1, "13001", "Marseille"),
                     makeCard("AUBERT", "Anne", 0, 1, 1, "06000", "Nice")});
    f.trigger("alpha");
    FFrance3* w = listShown();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(rowNumbers(view(w)), (QList<long long>{2, 1}));
    // Each line's tip and the count line are the core's.
    EXPECT_FALSE(view(w)->model()->index(0, 0).data(Qt::ToolTipRole).toString().isEmpty());
    EXPECT_EQ(count(), QStringLiteral(" 2 fiches — ordre alphabétique"));

    clickRow(view(w), 0);
    FFrance4* card = cardShown();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(labelText(card, "Label2"), QStringLiteral("2"));

    // The archived list replaces the lines in the same window.
    f.trigger("FicArch");
    ASSERT_EQ(listShown(), w);
    EXPECT_EQ(count(), QStringLiteral(" 1 fiche — archives"));
    EXPECT_EQ(rowNumbers(view(w)), (QList<long long>{3}));
    // "Voir les fiches" opens card 1 in the same window.
    f.trigger("Voirlesfiches");
    ASSERT_EQ(cardShown(), card);
    EXPECT_EQ(labelText(card, "Label2"), QStringLiteral("1"));

    // Only a line opens a card; the keyboard too (Escape is every secondary window's, as the card window's test shows).
    f.trigger("alpha");
    activate(w);
    CardListView* list = view(w);
    f.dialogs.messages.clear();
    const qsizetype modals = f.dialogs.modals.size();
    click(list->viewport(), QPoint(5, list->viewport()->height() - 3));
    EXPECT_EQ(f.dialogs.modals.size(), modals);
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, QStringLiteral("Erreur! aucune fiche sur cette ligne !"));
    ASSERT_EQ(list->currentIndex().row(), 0);
    keyClick(list, Qt::Key_Down);
    keyClick(list, Qt::Key_Return);
    EXPECT_EQ(labelText(cardShown(), "Label2"), QStringLiteral("1"));  // the second line
}

TEST_F(ListWindowTest, AnEmptyDatabaseSaysSoForEveryListAndExport)
{
    f.createDatabase();
    f.dialogs.inputs.clear();
    const char* entries[] = {"alpha", "villes", "CPostaux", "FicArch", "Voirlesfiches", "Rechnom", "export", "Adresses", "mail"};
    for (const char* name : entries)
        f.trigger(name);
    EXPECT_EQ(f.dialogs.messages.size(), 10);
    for (const auto& shown : f.dialogs.messages.mid(1))
        EXPECT_EQ(shown.text, QStringLiteral(" Il n'y a aucune fiche dans la base de données !"));
    EXPECT_TRUE(f.dialogs.modals.isEmpty() && f.dialogs.inputs.isEmpty());
    EXPECT_FALSE(QFile::exists(f.db() + "export.txt"));
    f.trigger("octets");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("0 fiche(s)"));
}

TEST_F(ListWindowTest, TheSearchesAskTheirQuestionAndTheExportsWriteTheirFiles)
{
    // Card 1 holds the default answer, archived; card 2 is in capitals.
    f.openWithCards({withFields(makeCard("Lavenu", "Paul", 0, 10, 10, "17340", "Châtelaillon-plage"), {{8, "0512345678"}}),
                     withFields(makeCard("LAVENU", "Anne", 1, 10, 10, "17000", "CHATELAILLON-PLAGE"), {{8, "05 12 34 56 78"}})});
    f.dialogs.inputs.clear();
    f.dialogs.messages.clear();
    // What each answer matches is the core's. Cancel lists every card; nothing found shows the window empty, no
    // earlier line, no message.
    using N = QList<long long>;
    EXPECT_EQ(search("Rechnom"), N{1});
    EXPECT_EQ(search("Rechcp1", std::optional<QString>()), (N{2, 1}));
    EXPECT_EQ(search("Rechtelf", QStringLiteral("05 12")), N{2});
    EXPECT_EQ(search("rechtelp", QStringLiteral("07")), N{});
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // Exports (their bytes are the core's): only the text export reports; no word processor chosen,
    // the desktop's own opens the addresses.
    f.trigger("export");
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, " Le fichier EXPORT a été créé sous " + f.db()
                                              + "export.txt. il peut être repris notamment par Microsoft Access");
    EXPECT_EQ(readBytes(f.db() + "export.txt").size(), 2 * 621);
    f.trigger("Adresses");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(readBytes(f.db() + "adresses.txt").contains("\r\n17340 " + tb::toCp1252(tb::padField("Châtelaillon-plage", 40))));
    EXPECT_EQ(f.launcher.documents, QStringList{f.db() + "adresses.txt"});
}

TEST_F(ListWindowTest, PrintsArePreviewedFirstAndTheChoicesMadeAreOfferedAgain)
{
    f.openWithCards({makeCard("DUPONT", "Jean", 1, 1, 1, "75001", "Paris"),
                     makeCard("MARTIN", "Zoé", 1, 1, 1, "13001", "Marseille")});
    f.trigger("villes");
    QAction* print = child<QAction>(listShown(), "Imprim3");
    QTemporaryDir dir;
    // A cancelled printer choice prints nothing; cancelled at the preview, the pages were shown, nothing printed.
    f.dialogs.printToPdf = dir.filePath("annule.pdf");
    f.dialogs.printerAccepted = false;
    print->trigger();
    f.dialogs.printerAccepted = true;
    f.dialogs.previewAnswers.enqueue(false);
    print->trigger();
    EXPECT_EQ(f.dialogs.previews, 1);
    EXPECT_FALSE(QFile::exists(f.dialogs.printToPdf));
    const QString shown = pdfText(f.dialogs.previewPdf);
    EXPECT_TRUE(shown.startsWith(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")))) << shown.toStdString();

    // Printed from the preview: what was shown. Cancelled font and colour choices keep the defaults.
    f.dialogs.printToPdf = dir.filePath("liste.pdf");
    f.dialogs.fontAnswers.enqueue(std::nullopt);
    f.dialogs.colorAnswers.enqueue(std::nullopt);
    print->trigger();
    // Its pages and their font are the core's.
    EXPECT_EQ(pdfText(f.dialogs.printToPdf), pdfText(f.dialogs.previewPdf));
    const QFont first = f.dialogs.fontsOffered.last();

    // The font, size and colour chosen are offered again, in another list too.
    QFont chosen = first;
    chosen.setPointSize(first.pointSize() + 5);
    chosen.setBold(true);
    chosen.setItalic(true);
    f.dialogs.fontAnswers.enqueue(chosen);
    f.dialogs.colorAnswers.enqueue(QColor(200, 0, 0));
    print->trigger();
    f.trigger("alpha");
    print->trigger();
    const QFont offered = f.dialogs.fontsOffered.last();
    EXPECT_EQ(offered.pointSize(), first.pointSize() + 5);
    EXPECT_TRUE(offered.bold() && offered.italic());
    EXPECT_EQ(f.dialogs.colorsOffered.last(), QColor(200, 0, 0));
}

// A long list: its first screen at once, and no change of cards lost while the rest is sorted.
TEST(ListFillsWhileCardsChange, FirstScreenAtOnceAndNoChangeLost)
{
    GuiFixture f;
    std::vector<CardRecord> cards;
    for (int i = 0; i < 30000; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg((i * 7919) % 30000, 5, 10, QLatin1Char('0')),
                                 QStringLiteral("Prénom"), i % 10 == 0 ? 0 : 1, 1, 1, "75001", "Paris"));
    const QString folder = f.openWithCards(cards);
    tb::Database* db = f.main->session().database();

    for (int round = 0; round < 2; ++round) {
        auto* w = f.open<FFrance3>("alpha");
        ASSERT_NE(w, nullptr);
        auto* view = child<CardListView>(w, "List1");
        ASSERT_TRUE(view->cards()->filling()) << round;
        // The first lines are there, in their final order, and the keyboard moves.
        const QList<long long> first = rowNumbers(view);
        ASSERT_GE(first.size(), 200);
        EXPECT_EQ(view->currentIndex().row(), 0);
        keyClick(view, Qt::Key_Down);
        EXPECT_EQ(view->currentIndex().row(), 1);
        const long long current = first[1];

        // Changes while the rest is sorted: a card comes first, one is
        // archived, one created; in the second round one is deleted (cards
        // renumbered: the list is made again).
        CardRecord moved = db->card(first[5]).value();
        moved.fields[2] = QStringLiteral("AAAA");
        ASSERT_TRUE(db->storeCard(first[5], moved));
        ASSERT_TRUE(db->setArchived(first[3], true));
        ASSERT_TRUE(db->createCard(makeCard("ZZZZ", "", 1, 1, 1)));
        if (round == 1)
            ASSERT_TRUE(db->deleteCard(first[7]));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->cards()->filling(); }, 60000));

        const CardStore store(folder);
        const std::vector<long long> sorted =
            listNumbers(*tb::buildCardList(store, store.readCount().value, tb::ListKind::Alphabetical));
        const QList<long long> expected(sorted.begin(), sorted.end());
        EXPECT_EQ(rowNumbers(view), expected) << round;
        EXPECT_EQ(view->cards()->numberAt(0), round == 0 ? first[5] : expected[0]);
        // The line chosen stays the current one.
        EXPECT_EQ(view->cards()->numberAt(view->currentIndex().row()), current) << round;
        w->hide();
    }
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

// The preview every print shows first: its pages, printed only when asked.
TEST(PrintPreview, ThePreviewWindowShowsThePagesAndPrintsOnlyWhenAsked)
{
    QtDialogs dialogs;
    QTemporaryDir dir;
    for (const bool printIt : {true, false}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("apercu.pdf")));
        QString title, pages;
        // The real modal loop, answered as a user would once the pages show.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* preview = QApplication::activeModalWidget();
            auto* count = child<QLabel>(preview, QStringLiteral("NbPages"));
            if (!count || count->text().isEmpty())
                return;
            answer.stop();
            title = preview->windowTitle();
            pages = count->text();
            click(child<QPushButton>(preview, printIt ? QStringLiteral("Imprimer") : QStringLiteral("Annuler")));
        });
        answer.start(20);
        const bool chosen = dialogs.previewPrint(printer, [](QPrinter& onto) {
            QPainter painter(&onto);
            painter.drawText(100, 100, QStringLiteral("page un"));
            onto.newPage();
            painter.drawText(100, 100, QStringLiteral("page deux"));
        });
        EXPECT_EQ(chosen, printIt);
        EXPECT_EQ(title, QStringLiteral("Aperçu avant impression"));
        EXPECT_EQ(pages, QStringLiteral("2 pages"));
        EXPECT_FALSE(QFile::exists(printer.outputFileName()));  // the preview itself writes nothing
    }
}

// Acting on several cards selected in the list window.
TEST(SelectionFlow, KeyboardSelectionPrintsLabelsMailsArchivesAndKeepsTheListBehindTheCard)
{
    GuiFixture f;
    f.openWithCards({makeCard("BERNARD", "Anne", 1, 10, 10, "17000", "La Rochelle"),
                     withFields(makeCard("ALBERT", "Paul", 1, 10, 10, "17340", "Yves"), {{10, "paul@exemple.fr"}}),
                     withFields(makeCard("DURAND", "Zoé", 1, 10, 10, "17000", "La Rochelle"),
                                {{5, "12 boulevard de la Grande Armée, bât. C2"}}),
                     withFields(makeCard("CHARLES", "Marc", 1, 10, 10, "75001", "Paris"), {{10, "marc@exemple.fr"}}),
                     makeCard("EVRARD", "Luc", 1, 10, 10, "13001", "Marseille")});
    f.dialogs.messages.clear();
    auto* w = f.open<FFrance3>("alpha");
    ASSERT_NE(w, nullptr);
    auto* list = child<CardListView>(w, "List1");
    activate(w);
    list->setFocus();
    // ALBERT BERNARD CHARLES DURAND EVRARD: from BERNARD, two more with Shift.
    keyClick(list, Qt::Key_Down);
    keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(w->selectedCards(), (QList<long long>{1, 4, 3}));

    // Return opens the current card; the list stays open behind it, selection kept.
    keyClick(list, Qt::Key_Return);
    auto* card = f.shown<FFrance4>();
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->selectedCards(), (QList<long long>{1, 4, 3}));
    card->hide();

    // Ctrl+A, then labels on L7160 from the second label, to PDF through the preview.
    activate(w);
    list->setFocus();
    keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w->selectedCards().size(), 5);
    w->findChild<QAction*>("SelEtiquettes")->trigger();
    auto* labels = f.shown<FEtiquettes>();
    ASSERT_NE(labels, nullptr);
    EXPECT_TRUE(child<QRadioButton>(labels, "Option1")->isChecked());
    child<QComboBox>(labels, "Combo1")->setCurrentIndex(0);
    child<QSpinBox>(labels, "Text2")->setValue(2);
    QTemporaryDir out;
    f.dialogs.printToPdf = out.filePath("etiquettes.pdf");
    click(child<QPushButton>(labels, "Command1"));
    ASSERT_EQ(f.dialogs.questions.size(), 1);  // the cut line said before printing
    EXPECT_TRUE(f.dialogs.questions[0].text.startsWith("1 remarque(s)")) << f.dialogs.questions[0].text.toStdString();
    EXPECT_TRUE(child<QPlainTextEdit>(labels, "Text1")->toPlainText().startsWith("Fiche n° 3 : « 12 boulevard"));
    EXPECT_EQ(f.dialogs.previews, 1);
    const QString text = pdfText(f.dialogs.printToPdf);
    EXPECT_TRUE(text.contains("Paul ALBERT") && text.contains("Luc EVRARD")) << text.toStdString();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    labels->hide();

    // One message to the addresses in blind copy; the cards without one said.
    w->findChild<QAction*>("SelCourrier")->trigger();
    ASSERT_EQ(f.launcher.urls.size(), 1);
    EXPECT_EQ(f.launcher.urls[0].toString(), "mailto:?bcc=paul@exemple.fr,marc@exemple.fr");
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(" 3 fiche(s) sans adresse électronique"));

    // "Lettres…" goes to the main window.
    w->findChild<QAction*>("SelLettres")->trigger();
    EXPECT_TRUE(std::ranges::any_of(QApplication::topLevelWidgets(), [](QWidget* t) { return t->inherits("FEnvoiLettres"); }));

    // The first two lines archived (asked once; which cards a selection's command takes is the core's): they leave
    // the list.
    keyClick(list, Qt::Key_Home);
    keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    w->findChild<QAction*>("SelArchiver")->trigger();
    EXPECT_EQ(f.dialogs.questions.last().text, "Archiver les 2 fiche(s) sélectionnée(s) ?");
    EXPECT_EQ(f.dialogs.lastMessage(), " 2 fiche(s) archivée(s).");
    EXPECT_EQ(rowNumbers(list), (QList<long long>{4, 3, 5}));

    // The sender kept from "Outils", shown and printed by "Enveloppes".
    auto* sender = f.open<FExpediteur>("Expediteur");
    ASSERT_NE(sender, nullptr);
    child<QPlainTextEdit>(sender, "Text1")->setPlainText("TABULON SARL\n1 rue Haute\n17000 LA ROCHELLE");
    click(child<QPushButton>(sender, "Command1"));
    EXPECT_FALSE(sender->isVisible());
    EXPECT_EQ(tb::readSenderAddress(f.program.path()).size(), 3);
    w->findChild<QAction*>("SelEnveloppes")->trigger();
    auto* envelopes = f.shown<FEnveloppes>();
    ASSERT_NE(envelopes, nullptr);
    EXPECT_EQ(labelText(envelopes, "Label1"), "TABULON SARL\n1 rue Haute\n17000 LA ROCHELLE");
    child<QCheckBox>(envelopes, "Check2")->setChecked(true);
    f.dialogs.printToPdf = out.filePath("enveloppes.pdf");
    click(child<QPushButton>(envelopes, "Command1"));
    EXPECT_EQ(pdfText(f.dialogs.printToPdf).count("TABULON SARL"), 3);  // the whole list of three
}

TEST(SelectionFlow, TheSearchBoxShowsEveryCardFoundInTheListWindow)
{
    GuiFixture f;
    std::vector<CardRecord> cards;
    for (int k = 0; k < SearchBox::kShownLines + 20; ++k)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(k), "Anne", 1, 10, 10, "17000", "La Rochelle"));
    cards.push_back(makeCard("AUTRE", "Paul", 1, 10, 10, "75001", "Paris"));
    f.openWithCards(cards);
    auto* box = f.main->findChild<QLineEdit*>("Recherche");
    box->setText("rochelle");
    click(f.main->findChild<QPushButton*>("AfficherListe"));
    auto* w = f.shown<FFrance3>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->listedCards().size(), SearchBox::kShownLines + 20);
    EXPECT_TRUE(box->text().isEmpty());
}
