// Acting on several cards selected in the list window.
#include "core/mail/sender_address.h"
#include "gui/mail/envelopes_window.h"
#include "gui/mail/labels_window.h"
#include "gui/mail/sender_window.h"
#include "gui/lists/search_box.h"
#include "gui_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>

using namespace testing_support;

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
