// The list window through the real menus: sorted lists, opening a card from a
// line, counts, printing.
#include "gui/app/main_window.h"
#include "gui/cards/card_window.h"
#include "gui_fixture.h"
#include "core/lists/list_page_layout.h"
#include "gui/lists/list_window.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QString number(int n)  // a line of List2: the card number right-aligned on ten places
{
    return QString::number(n).rightJustified(10);
}

class ListWindowTest : public ::testing::Test {
protected:
    GuiFixture f;

    void SetUp() override
    {
        f.createDatabase();
        f.dialogs.messages.clear();  // what creation itself said
        f.dialogs.modals.clear();
    }
    QString db() const { return f.main->values().Label2; }

    void trigger(const char* name)
    {
        for (QAction* a : f.main->findChildren<QAction*>())
            if (a->objectName() == QLatin1String(name))
                return a->trigger();
        FAIL() << "no action " << name;
    }
    FFrance3* listShown() { return qobject_cast<FFrance3*>(f.dialogs.lastModal()); }
    FFrance3* alphaList(const std::vector<CardRecord>& cards)
    {
        writeCards(db(), cards);
        trigger("alpha");
        return listShown();
    }
    FFrance4* cardShown() { return qobject_cast<FFrance4*>(f.dialogs.lastModal()); }

    static QStringList items(QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->text());
        return out;
    }

    // A mouse press on List1 at row (or below the last line when row is -1).
    void press(FFrance3* w, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        w->List1->doItemsLayout();
        QWidget* viewport = w->List1->viewport();
        const QPoint pos = row >= 0 ? w->List1->visualItemRect(w->List1->item(row)).center()
                                    : QPoint(5, viewport->height() - 3);
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(pos), viewport->mapToGlobal(QPointF(pos)), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
};

}  // namespace

TEST_F(ListWindowTest, SortedListsShowParallelLines)
{
    FFrance3* w = alphaList({makeCard("B", "Y", 1, 1, 1, "75001", "Paris"),
                             makeCard("A", "Z", 2, 1, 1, "13001", "Marseille"),
                             makeCard("C", "X", 0, 1, 1, "06000", "Nice")});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Liste"));
    const QString lineA = "A               Z               13001 Marseille                               ";
    EXPECT_EQ(items(w->List1),
              (QStringList{lineA, "B               Y               75001 Paris                                   "}));
    EXPECT_EQ(items(w->List2), (QStringList{number(2), number(1)}));
    EXPECT_EQ(items(w->List3).first(), lineA + " Fiche n°           2");

    // The archived list of the same database replaces the lines; cities and codes sort alike here.
    trigger("FicArch");
    ASSERT_EQ(listShown(), w);
    EXPECT_EQ(items(w->List2), (QStringList{number(3)}));
    trigger("villes");
    EXPECT_EQ(items(w->List2), (QStringList{number(2), number(1)}));
    trigger("CPostaux");
    EXPECT_EQ(items(w->List2), (QStringList{number(2), number(1)}));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST_F(ListWindowTest, ClickOnLineOpensTheCardAndHidesTheList)
{
    FFrance3* w = alphaList({makeCard("B", "Y", 1, 1, 1), makeCard("A", "Z", 1, 1, 1), makeCard("C", "X", 0, 1, 1)});
    ASSERT_NE(w, nullptr);
    press(w, 0);
    FFrance4* card = cardShown();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->Label2->text(), QStringLiteral("2"));
    EXPECT_EQ(card->Text1[2]->text().trimmed(), QStringLiteral("A"));
    EXPECT_EQ(card->Label5->text(), QStringLiteral("Active"));
    EXPECT_EQ(card->List1->count(), 3);  // the name list holds archived cards too
    EXPECT_EQ(card->List1->currentRow(), 0);
    EXPECT_FALSE(w->isVisible());

    trigger("FicArch");
    press(w, 0);
    EXPECT_EQ(card->Label2->text(), QStringLiteral("3"));
    EXPECT_EQ(card->Label5->text(), QStringLiteral("Archivée"));

    // "Voir les fiches" opens card 1 with the whole name list.
    trigger("Voirlesfiches");
    ASSERT_EQ(cardShown(), card);
    EXPECT_EQ(card->Label2->text(), QStringLiteral("1"));
    EXPECT_EQ(card->Text1[2]->text().trimmed(), QStringLiteral("B"));
    EXPECT_EQ(card->List1->count(), 3);
}

TEST_F(ListWindowTest, SameNamedCardsOpenTheFirstInNameOrder)
{
    std::vector<CardRecord> cards;
    for (int i = 1; i <= 12; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(i), "", 1, 1, 1));
    cards[1] = makeCard("SAME", "Jean", 1, 1, 1, "75001", "Paris");
    cards[11] = cards[1];
    FFrance3* w = alphaList(cards);
    ASSERT_NE(w, nullptr);
    const int first = int(items(w->List2).indexOf(number(12)));
    ASSERT_GE(first, 0);
    EXPECT_EQ(items(w->List2)[first + 1], number(2));
    for (int row : {first, first + 1}) {
        press(w, row);
        ASSERT_NE(cardShown(), nullptr);
        EXPECT_EQ(cardShown()->Label2->text(), QStringLiteral("12")) << row;
    }
}

TEST_F(ListWindowTest, ClickBelowTheLinesOrWithOtherButtonsOpensNothing)
{
    QPointer<FFrance3> w = alphaList({makeCard("A", "", 1, 1, 1)});
    ASSERT_NE(w, nullptr);
    const qsizetype modals = f.dialogs.modals.size();
    press(w, 0, Qt::RightButton);
    press(w, 0, Qt::MiddleButton);
    press(w, -1);
    EXPECT_EQ(f.dialogs.modals.size(), modals);
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, QStringLiteral("Erreur! aucune fiche sur cette ligne !"));
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("Tabulon"));
    EXPECT_EQ(f.dialogs.messages[0].icon, QMessageBox::NoIcon);
    EXPECT_TRUE(w->isVisible());

    // The close box unloads the window; the menu builds a new one.
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    trigger("alpha");
    ASSERT_NE(listShown(), nullptr);
    EXPECT_EQ(listShown()->List1->count(), 1);
}

TEST_F(ListWindowTest, EmptyDatabaseGivesMessagesAndNoWindow)
{
    for (const char* name : {"alpha", "villes", "CPostaux", "FicArch", "Voirlesfiches"}) {
        f.dialogs.messages.clear();
        trigger(name);
        ASSERT_EQ(f.dialogs.messages.size(), 1) << name;
        EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Il n'y a aucune fiche dans la base de données !")) << name;
    }
    EXPECT_TRUE(f.dialogs.modals.isEmpty());
    EXPECT_EQ(f.main->windows().existingListWindow(), nullptr);

    trigger("octets");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("0 fiche(s)"));
    writeCards(db(), {makeCard("A", "", 1, 1, 1), makeCard("B", "", 1, 1, 1)});
    trigger("octets");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("2 fiche(s)"));
    EXPECT_EQ(f.main->values().Label6, QStringLiteral("2"));
}

TEST_F(ListWindowTest, PrintingWritesDateListeAndLines)
{
    FFrance3* w = alphaList({makeCard("DUPONT", "Jean", 1, 1, 1, "75001", "Paris"),
                             makeCard("MARTIN", "Zoé", 1, 1, 1, "13001", "Marseille")});
    ASSERT_NE(w, nullptr);
    QTemporaryDir dir;

    // A cancelled printer choice prints nothing.
    f.dialogs.printToPdf = dir.filePath("annule.pdf");
    f.dialogs.printerAccepted = false;
    w->Imprim3->trigger();
    EXPECT_FALSE(QFile::exists(f.dialogs.printToPdf));

    // Cancelled font and colour choices keep the defaults.
    f.dialogs.printerAccepted = true;
    f.dialogs.printToPdf = dir.filePath("liste.pdf");
    f.dialogs.fontAnswers.enqueue(std::nullopt);
    f.dialogs.colorAnswers.enqueue(std::nullopt);
    w->Imprim3->trigger();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), f.dialogs.printToPdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished());
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    const int date = int(text.indexOf(tb::listDateText(QDate::currentDate())));
    const int liste = int(text.indexOf(QStringLiteral("Liste")));
    const int dupont = int(text.indexOf(QRegularExpression(QStringLiteral("DUPONT +Jean +75001 +Paris"))));
    const int martin = int(text.indexOf(QRegularExpression(QStringLiteral("MARTIN +Zoé +13001 +Marseille"))));
    EXPECT_GE(date, 0);
    EXPECT_LT(date, liste);
    EXPECT_LT(liste, dupont);
    EXPECT_LT(dupont, martin);
}
