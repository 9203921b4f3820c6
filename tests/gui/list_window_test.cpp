// The list window through the real menus: sorted lists, opening a card from a
// line with the mouse or the keyboard, counts, printing and its remembered choices.
#include "core/lists/list_page_layout.h"
#include "gui_fixture.h"

#include <QRegularExpression>

using namespace testing_support;

namespace {

class ListWindowTest : public ::testing::Test {
protected:
    GuiFixture f;

    FFrance3* listShown() { return qobject_cast<FFrance3*>(f.dialogs.lastModal()); }
    FFrance4* cardShown() { return qobject_cast<FFrance4*>(f.dialogs.lastModal()); }
    static CardListView* view(QWidget* w) { return child<CardListView>(w, "List1"); }

    FFrance3* alphaList(const std::vector<CardRecord>& cards)
    {
        f.openWithCards(cards);
        f.dialogs.messages.clear();
        f.trigger("alpha");
        return listShown();
    }
};

}  // namespace

TEST_F(ListWindowTest, SortedListsShowLinesAndAClickOpensTheCard)
{
    FFrance3* w = alphaList({makeCard("B", "Y", 1, 1, 1, "75001", "Paris"),
                             makeCard("A", "Z", 2, 1, 1, "13001", "Marseille"),
                             makeCard("C", "X", 0, 1, 1, "06000", "Nice")});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Liste"));
    EXPECT_EQ(rowTexts(view(w)),
              (QStringList{"A               Z               13001 Marseille                               ",
                           "B               Y               75001 Paris                                   "}));
    EXPECT_EQ(rowNumbers(view(w)), (QList<long long>{2, 1}));
    // Cities and codes sort alike here (the orders are the core's).
    for (const char* order : {"villes", "CPostaux"}) {
        f.trigger(order);
        EXPECT_EQ(rowNumbers(view(w)), (QList<long long>{2, 1})) << order;
    }

    clickRow(view(w), 0);
    FFrance4* card = cardShown();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(labelText(card, "Label2"), QStringLiteral("2"));
    EXPECT_EQ(child<QLineEdit>(card, "Text1(2)")->text(), QStringLiteral("A"));
    EXPECT_EQ(labelText(card, "Label5"), QStringLiteral("Active"));
    EXPECT_EQ(rowNumbers(view(card)), (QList<long long>{2, 1, 3}));  // archived cards too
    EXPECT_EQ(view(card)->currentIndex().row(), 0);
    EXPECT_FALSE(w->isVisible());

    // The archived list replaces the lines in the same window.
    f.trigger("FicArch");
    ASSERT_EQ(listShown(), w);
    EXPECT_EQ(rowNumbers(view(w)), (QList<long long>{3}));
    clickRow(view(w), 0);
    EXPECT_EQ(labelText(card, "Label2"), QStringLiteral("3"));
    EXPECT_EQ(labelText(card, "Label5"), QStringLiteral("Archivée"));

    // "Voir les fiches" opens card 1 in the same window, the first name highlighted; a click on it moves there.
    f.trigger("Voirlesfiches");
    ASSERT_EQ(cardShown(), card);
    EXPECT_EQ(labelText(card, "Label2"), QStringLiteral("1"));
    EXPECT_EQ(view(card)->currentIndex().row(), 0);
    clickRow(view(card), 0);
    EXPECT_EQ(labelText(card, "Label2"), QStringLiteral("2"));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST_F(ListWindowTest, KeyboardOpensTheLineAndOtherClicksOpenNothing)
{
    QPointer<FFrance3> w = alphaList({makeCard("C", "", 1, 1, 1), makeCard("A", "", 1, 1, 1), makeCard("B", "", 1, 1, 1)});
    ASSERT_NE(w, nullptr);
    activate(w);
    CardListView* list = view(w);
    const qsizetype modals = f.dialogs.modals.size();
    const QPoint onRow = list->visualRect(list->model()->index(0, 0)).center();
    click(list->viewport(), onRow, Qt::RightButton);
    click(list->viewport(), onRow, Qt::MiddleButton);
    click(list->viewport(), QPoint(5, list->viewport()->height() - 3));
    EXPECT_EQ(f.dialogs.modals.size(), modals);
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, QStringLiteral("Erreur! aucune fiche sur cette ligne !"));

    ASSERT_EQ(list->currentIndex().row(), 0);
    keyClick(list, Qt::Key_Down);
    keyClick(list, Qt::Key_Down);
    keyClick(list, Qt::Key_Up);
    keyClick(list, Qt::Key_Return);
    ASSERT_NE(cardShown(), nullptr);
    EXPECT_EQ(labelText(cardShown(), "Label2"), QStringLiteral("3"));  // B, the second line

    // Escape unloads the window; the menu builds a new one.
    f.trigger("alpha");
    ASSERT_EQ(listShown(), w);
    activate(w);
    keyClick(list, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    f.trigger("alpha");
    ASSERT_NE(listShown(), nullptr);
    EXPECT_EQ(rowNumbers(view(listShown())), (QList<long long>{2, 3, 1}));
}

TEST_F(ListWindowTest, SameNamedCardsOpenTheirOwnCard)
{
    std::vector<CardRecord> cards(12, makeCard("NOM", "", 1, 1, 1));
    cards[1] = cards[11] = makeCard("SAME", "Jean", 1, 1, 1, "75001", "Paris");
    FFrance3* w = alphaList(cards);
    ASSERT_NE(w, nullptr);
    // Equal lines fall to the number's text: 12 before 2.
    const int first = int(rowNumbers(view(w)).indexOf(12));
    ASSERT_GE(first, 0);
    EXPECT_EQ(rowNumbers(view(w)).value(first + 1), 2);
    clickRow(view(w), first + 1);
    ASSERT_NE(cardShown(), nullptr);
    EXPECT_EQ(labelText(cardShown(), "Label2"), QStringLiteral("2"));
    f.trigger("alpha");
    clickRow(view(listShown()), first);
    EXPECT_EQ(labelText(cardShown(), "Label2"), QStringLiteral("12"));
}

TEST_F(ListWindowTest, EmptyDatabaseGivesMessagesAndNoWindow)
{
    // Every entry that needs a card says so the same way, asking nothing.
    f.createDatabase();
    f.dialogs.inputs.clear();
    for (const char* name : {"alpha", "villes", "CPostaux", "FicArch", "Voirlesfiches", "Rechnom", "export", "Adresses",
                             "mail"}) {
        f.dialogs.messages.clear();
        f.trigger(name);
        ASSERT_EQ(f.dialogs.messages.size(), 1) << name;
        EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Il n'y a aucune fiche dans la base de données !")) << name;
    }
    EXPECT_TRUE(f.dialogs.modals.isEmpty());
    EXPECT_TRUE(f.dialogs.inputs.isEmpty());
    EXPECT_EQ(f.window<FFrance3>(), nullptr);
    EXPECT_FALSE(QFile::exists(f.db() + "export.txt"));

    f.trigger("octets");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("0 fiche(s)"));
    f.openWithCards({makeCard("A", "", 1, 1, 1), makeCard("B", "", 1, 1, 1)});
    f.trigger("octets");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("2 fiche(s)"));
}

TEST_F(ListWindowTest, PrintingWritesDateListeAndLinesAndTheChoicesMadeAreOfferedAgain)
{
    FFrance3* w = alphaList({makeCard("DUPONT", "Jean", 1, 1, 1, "75001", "Paris"),
                             makeCard("MARTIN", "Zoé", 1, 1, 1, "13001", "Marseille")});
    ASSERT_NE(w, nullptr);
    QAction* print = child<QAction>(w, "Imprim3");
    QTemporaryDir dir;

    // A cancelled printer choice prints nothing.
    f.dialogs.printToPdf = dir.filePath("annule.pdf");
    f.dialogs.printerAccepted = false;
    print->trigger();
    EXPECT_FALSE(QFile::exists(f.dialogs.printToPdf));

    // Cancelled font and colour choices keep the defaults.
    f.dialogs.printerAccepted = true;
    f.dialogs.printToPdf = dir.filePath("liste.pdf");
    f.dialogs.fontAnswers.enqueue(std::nullopt);
    f.dialogs.colorAnswers.enqueue(std::nullopt);
    print->trigger();
    const QString pdf = pdfText(f.dialogs.printToPdf, {QStringLiteral("-layout")});
    const int date = int(pdf.indexOf(tb::listDateText(QDate::currentDate())));
    const int liste = int(pdf.indexOf(QStringLiteral("Liste")));
    const int dupont = int(pdf.indexOf(QRegularExpression(QStringLiteral("DUPONT +Jean +75001 +Paris"))));
    const int martin = int(pdf.indexOf(QRegularExpression(QStringLiteral("MARTIN +Zoé +13001 +Marseille"))));
    EXPECT_GE(date, 0);
    EXPECT_LT(date, liste);
    EXPECT_LT(liste, dupont);
    EXPECT_LT(dupont, martin);

    // The font, size and colour chosen are offered again, whatever the window, once printed or cancelled.
    ASSERT_EQ(f.dialogs.fontsOffered.size(), 1);
    const QFont first = f.dialogs.fontsOffered.last();
    QFont chosen = first;
    chosen.setPointSize(first.pointSize() + 5);
    chosen.setBold(true);
    chosen.setItalic(true);
    f.dialogs.fontAnswers.enqueue(chosen);
    f.dialogs.colorAnswers.enqueue(QColor(200, 0, 0));
    print->trigger();
    for (int k = 0; k < 2; ++k) {
        if (k == 1) {
            f.dialogs.fontAnswers.enqueue(std::nullopt);
            f.dialogs.colorAnswers.enqueue(std::nullopt);
        }
        print->trigger();
        const QFont offered = f.dialogs.fontsOffered.last();
        EXPECT_EQ(offered.pointSize(), first.pointSize() + 5);
        EXPECT_TRUE(offered.bold() && offered.italic());
        EXPECT_EQ(offered.family(), first.family());  // a list keeps its fixed pitch
        EXPECT_EQ(f.dialogs.colorsOffered.last(), QColor(200, 0, 0));
    }
}
