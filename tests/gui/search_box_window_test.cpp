// The main window's search box: Ctrl+F, results as the user types, Return or
// a click opens the card, and the list follows changed cards.
#include "gui/app/database_chooser_window.h"
#include "gui_fixture.h"

using namespace testing_support;

namespace {
// The database chooser, closed, would keep the keyboard: it goes first.
void focusMain(GuiFixture& f)
{
    delete f.window<Ffrance29>();
    activate(f.main.get());
}
}  // namespace

TEST(SearchBoxWindow, TypedWordsListCardsAndReturnOrAClickOpensOne)
{
    GuiFixture f;
    f.openWithCards({makeCard("MARTIN", "Éloïse", 3, 10, 10, "17340", "CHÂTELAILLON-PLAGE"),
                     makeCard("DURAND", "Paul", 0, 20, 20, "17000", "LA ROCHELLE"),
                     makeCard("CHATELAIN", "Luc", 2, 30, 30, "33000", "BORDEAUX")});
    focusMain(f);
    auto* box = child<QLineEdit>(f.main.get(), "Recherche");
    auto* list = child<CardListView>(f.main.get(), "SearchList");
    ASSERT_NE(box, nullptr);
    ASSERT_NE(list, nullptr);
    QTest::keyClick(f.main.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(box->hasFocus());

    typeText(box, "chatel");
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(rowNumbers(list), (QList<long long>{3, 1}));
    EXPECT_EQ(labelText(f.main.get(), "SearchCount"), "2 fiches");
    typeText(box, " plage");
    EXPECT_EQ(rowNumbers(list), QList<long long>{1});
    EXPECT_TRUE(rowTexts(list).first().endsWith(" : CHÂTELAILLON-PLAGE"));

    keyClick(box, Qt::Key_Return);
    auto* card = qobject_cast<FFrance4*>(f.dialogs.lastModal());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(labelText(card, "Label2"), "1");
    card->hide();

    box->setText("rochelle");
    EXPECT_EQ(rowNumbers(list), QList<long long>{2});
    EXPECT_TRUE(rowTexts(list).first().endsWith("   (archivée)"));
    EXPECT_EQ(list->model()->index(0, 0).data(Qt::ToolTipRole).toString(), "17000 LA ROCHELLE, fiche n° 2");
    clickRow(list, 0);
    card = qobject_cast<FFrance4*>(f.dialogs.lastModal());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(labelText(card, "Label2"), "2");
    card->hide();

    box->setText("introuvable");
    EXPECT_EQ(labelText(f.main.get(), "SearchCount"), "Aucune fiche ne contient ces mots.");
    keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_FALSE(list->isVisible());
}
