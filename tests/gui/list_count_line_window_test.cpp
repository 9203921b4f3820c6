// The list window says under its list how many cards it shows and which
// list; each line's tooltip tells its card apart from its homonyms.
#include "gui/lists/list_window.h"
#include "gui/widgets/card_list_view.h"
#include "gui_fixture.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(ListCountLineWindow, SaysHowManyCardsAndWhichListAndEachLineItsCard)
{
    GuiFixture f;
    f.openWithCards({makeCard("VINCENT", "Véronique", 1, 1, 1, "75001", "Paris"),
                     makeCard("VINCENT", "Véronique", 1, 1, 1, "13001", "Marseille"),
                     makeCard("AUBERT", "Anne", 0, 1, 1, "06000", "Nice")});
    f.trigger("alpha");
    auto* list = f.window<FFrance3>();
    ASSERT_NE(list, nullptr);
    auto* count = child<QLabel>(list, "NbFiches");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->text(), QStringLiteral(" 2 fiches — ordre alphabétique"));
    EXPECT_EQ(count->accessibleName(), count->text());
    auto* view = child<CardListView>(list, "List1");
    QStringList tips;
    for (int row = 0; row < 2; ++row)
        tips << view->model()->index(row, 0).data(Qt::ToolTipRole).toString();
    tips.sort();
    EXPECT_EQ(tips, (QStringList{"13001 Marseille, fiche n° 2", "75001 Paris, fiche n° 1"}));

    f.trigger("FicArch");
    EXPECT_EQ(count->text(), QStringLiteral(" 1 fiche — archives"));
    f.trigger("villes");
    EXPECT_EQ(count->text(), QStringLiteral(" 2 fiches — par ville"));

    // A click away from every pin says so instead of an empty window.
    f.leftClickMap(400, 400);
    ASSERT_EQ(f.dialogs.lastModal(), list);
    EXPECT_EQ(count->text(), QStringLiteral(" Aucune fiche."));
}
