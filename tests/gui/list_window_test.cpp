// The list window through the real menus: sorted lists, opening a card from a
// line, counts, printing.
#include "app/main_window.h"
#include "cards/card_store.h"
#include "cards/card_window.h"
#include "gui_fixture.h"
#include "lists/card_lists.h"
#include "lists/list_page_layout.h"
#include "lists/list_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString kNoCards = QStringLiteral(" Il n'y a aucune fiche dans la base de données !");
const QString kNoLine = QStringLiteral("Erreur! aucune fiche sur cette ligne !");

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

    FFrance3* listShown()
    {
        return qobject_cast<FFrance3*>(f.dialogs.lastModal());
    }

    QStringList items(QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->text());
        return out;
    }

    // A mouse press on the list window's List1 at row (or below the last line when row is -1).
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

TEST_F(ListWindowTest, SortedListShowsListWindowWithParallelLists)
{
    writeCards(db(), {makeCard("B", "Y", 1, 1, 1, "75001", "Paris"), makeCard("A", "Z", 2, 1, 1, "13001", "Marseille"),
                      makeCard("C", "X", 0, 1, 1, "06000", "Nice")});
    trigger("alpha");
    FFrance3* w = listShown();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Liste"));
    EXPECT_TRUE(w->List1->isVisible());
    EXPECT_FALSE(w->List2->isVisible());
    EXPECT_FALSE(w->List3->isVisible());
    CardStore store(db());
    const auto alphaLine = [](const CardRecord& c) {
        return c.field(3) + u' ' + c.field(4) + u' ' + c.field(6) + u' ' + c.field(7);
    };
    const QString lineA = alphaLine(store.read(2));
    EXPECT_EQ(items(w->List1), (QStringList{lineA, alphaLine(store.read(1))}));
    EXPECT_EQ(items(w->List2), (QStringList{QString(9, u' ') + "2", QString(9, u' ') + "1"}));
    EXPECT_EQ(items(w->List3).first(), lineA + " Fiche n°          " + " 2");
    EXPECT_EQ(f.main->values().Label6, QStringLiteral("3"));

    // The archived list of the same database replaces the lines.
    trigger("FicArch");
    ASSERT_EQ(listShown(), w);
    EXPECT_EQ(items(w->List2), (QStringList{QString(9, u' ') + "3"}));
    trigger("villes");
    EXPECT_EQ(items(w->List2), (QStringList{QString(9, u' ') + "2", QString(9, u' ') + "1"}));
    trigger("CPostaux");
    EXPECT_EQ(items(w->List2), (QStringList{QString(9, u' ') + "2", QString(9, u' ') + "1"}));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST_F(ListWindowTest, ClickOnLineOpensTheCardAndHidesTheList)
{
    writeCards(db(), {makeCard("B", "Y", 1, 1, 1), makeCard("A", "Z", 1, 1, 1), makeCard("C", "X", 0, 1, 1)});
    trigger("alpha");
    FFrance3* w = listShown();
    ASSERT_NE(w, nullptr);
    press(w, 0);
    auto* card = qobject_cast<FFrance4*>(f.dialogs.lastModal());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->Label2->text(), QStringLiteral("2"));
    EXPECT_EQ(card->Text1[2]->text().trimmed(), QStringLiteral("A"));
    EXPECT_EQ(card->Label5->text(), QStringLiteral("Active"));
    // The card window's name list holds every card, archived ones too.
    EXPECT_EQ(card->List1->count(), 3);
    EXPECT_EQ(card->List1->currentRow(), 0);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // An archived card opens as "Archivée".
    trigger("FicArch");
    press(w, 0);
    EXPECT_EQ(card->Label2->text(), QStringLiteral("3"));
    EXPECT_EQ(card->Label5->text(), QStringLiteral("Archivée"));
}

TEST_F(ListWindowTest, SameNamedCardsOpenTheFirstInNameOrder)
{
    std::vector<CardRecord> cards;
    for (int i = 1; i <= 12; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(i), "", 1, 1, 1));
    cards[1] = makeCard("SAME", "Jean", 1, 1, 1, "75001", "Paris");
    cards[11] = cards[1];
    writeCards(db(), cards);
    trigger("alpha");
    FFrance3* w = listShown();
    ASSERT_NE(w, nullptr);
    const int first = int(items(w->List2).indexOf(QString(8, u' ') + "12"));
    ASSERT_GE(first, 0);
    EXPECT_EQ(items(w->List2)[first + 1], QString(9, u' ') + "2");
    for (int row : {first, first + 1}) {
        press(w, row);
        auto* card = qobject_cast<FFrance4*>(f.dialogs.lastModal());
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->Label2->text(), QStringLiteral("12")) << row;
    }
}

TEST_F(ListWindowTest, ClickBelowTheLinesOrWithOtherButtonsOpensNothing)
{
    writeCards(db(), {makeCard("A", "", 1, 1, 1)});
    trigger("alpha");
    FFrance3* w = listShown();
    ASSERT_NE(w, nullptr);
    const int modals = int(f.dialogs.modals.size());
    press(w, 0, Qt::RightButton);
    press(w, 0, Qt::MiddleButton);
    EXPECT_EQ(f.dialogs.modals.size(), modals);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    press(w, -1);
    EXPECT_EQ(f.dialogs.modals.size(), modals);
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, kNoLine);
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("Tabulon"));
    EXPECT_EQ(f.dialogs.messages[0].icon, QMessageBox::NoIcon);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(ListWindowTest, EmptyDatabaseGivesMessagesAndNoWindow)
{
    for (const char* name : {"alpha", "villes", "CPostaux", "FicArch", "Voirlesfiches"}) {
        f.dialogs.messages.clear();
        trigger(name);
        ASSERT_EQ(f.dialogs.messages.size(), 1) << name;
        EXPECT_EQ(f.dialogs.lastMessage(), kNoCards) << name;
    }
    EXPECT_TRUE(f.dialogs.modals.isEmpty());
    EXPECT_EQ(f.main->windows().existingListWindow(), nullptr);

    f.dialogs.messages.clear();
    trigger("octets");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("0 fiche(s)"));
    writeCards(db(), {makeCard("A", "", 1, 1, 1), makeCard("B", "", 1, 1, 1)});
    trigger("octets");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("2 fiche(s)"));
    EXPECT_EQ(f.main->values().Label6, QStringLiteral("2"));
}

TEST_F(ListWindowTest, ShowAllCardsOpensCardOneWithTheNameList)
{
    writeCards(db(), {makeCard("B", "Y", 0, 1, 1), makeCard("A", "Z", 1, 1, 1)});
    trigger("Voirlesfiches");
    auto* card = qobject_cast<FFrance4*>(f.dialogs.lastModal());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->Label2->text(), QStringLiteral("1"));
    EXPECT_EQ(card->Text1[2]->text().trimmed(), QStringLiteral("B"));
    EXPECT_EQ(card->Label5->text(), QStringLiteral("Archivée"));
    EXPECT_EQ(card->List1->count(), 2);
    EXPECT_EQ(card->List1->currentRow(), 0);
}

TEST_F(ListWindowTest, PrintingWritesDateListeAndLines)
{
    writeCards(db(), {makeCard("DUPONT", "Jean", 1, 1, 1, "75001", "Paris"),
                      makeCard("MARTIN", "Zoé", 1, 1, 1, "13001", "Marseille")});
    trigger("alpha");
    FFrance3* w = listShown();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Imprim3->text(), QStringLiteral("Imprimer"));
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

TEST_F(ListWindowTest, CloseBoxUnloadsTheWindow)
{
    writeCards(db(), {makeCard("A", "", 1, 1, 1)});
    trigger("alpha");
    QPointer<FFrance3> w = listShown();
    ASSERT_NE(w, nullptr);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    trigger("alpha");
    ASSERT_NE(listShown(), nullptr);
    EXPECT_EQ(listShown()->List1->count(), 1);
}
