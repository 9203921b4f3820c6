// The main window's search box (which cards match is the core's).
#include "gui/app/database_chooser_window.h"
#include "gui_fixture.h"

using namespace testing_support;

TEST(SearchBoxWindow, TypedWordsListCardsAndReturnOrAClickOpensOne)
{
    GuiFixture f;
    f.openWithCards({makeCard("MARTIN", "Éloïse", 3, 10, 10, "17340", "CHÂTELAILLON-PLAGE"),
                     makeCard("DURAND", "Paul", 0, 20, 20, "17000", "LA ROCHELLE"),
                     makeCard("CHATELAIN", "Luc", 2, 30, 30, "33000", "BORDEAUX")});
    delete f.window<Ffrance29>();  // the database chooser, closed, would keep the keyboard
    activate(f.main.get());
    auto* box = child<QLineEdit>(f.main.get(), "Recherche");
    auto* list = child<CardListView>(f.main.get(), "SearchList");
    QTest::keyClick(f.main.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(box->hasFocus());

    typeText(box, "chatel");
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(rowNumbers(list), (QList<long long>{3, 1}));
    typeText(box, " plage");
    EXPECT_EQ(rowNumbers(list), QList<long long>{1});
    keyClick(box, Qt::Key_Return);
    ASSERT_NE(f.shown<FFrance4>(), nullptr);
    EXPECT_EQ(labelText(f.shown<FFrance4>(), "Label2"), "1");
    f.shown<FFrance4>()->hide();

    box->setText("rochelle");
    EXPECT_TRUE(rowTexts(list).value(0).endsWith("   (archivée)"));
    clickRow(list, 0);
    EXPECT_EQ(labelText(f.shown<FFrance4>(), "Label2"), "2");
    f.shown<FFrance4>()->hide();

    box->setText("introuvable");
    EXPECT_EQ(labelText(f.main.get(), "SearchCount"), "Aucune fiche ne contient ces mots.");
    keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_FALSE(list->isVisible());
}
