// The line under a list: how many cards, French style, and which list.
#include "core/base/number_text.h"
#include "core/lists/list_count.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using testing_support::makeCard;

TEST(ListCountLine, CountAndListShownOrNoCard)
{
    using tb::ListShown;
    EXPECT_EQ(tb::listCountLine(1, ListShown::ByCity), QStringLiteral(" 1 fiche — par ville"));
    EXPECT_EQ(tb::listCountLine(53, tb::listShown(tb::ListKind::Alphabetical)),
              QStringLiteral(" 53 fiches — ordre alphabétique"));
    EXPECT_EQ(tb::listCountLine(2, tb::listShown(tb::ListKind::ByPostalCode)), QStringLiteral(" 2 fiches — par code postal"));
    EXPECT_EQ(tb::listCountLine(2, tb::listShown(tb::ListKind::Archived)), QStringLiteral(" 2 fiches — archives"));
    EXPECT_EQ(tb::listCountLine(2, ListShown::Search), QStringLiteral(" 2 fiches — recherche"));
    EXPECT_EQ(tb::listCountLine(2, ListShown::MapPoint), QStringLiteral(" 2 fiches — à cet endroit"));
    // Thousands apart as French readers group them.
    EXPECT_EQ(tb::listCountLine(95004, ListShown::Zone), QStringLiteral(" 95\u202F004 fiches — zone"));
    EXPECT_EQ(tb::countText(1234567), QStringLiteral("1\u202F234\u202F567"));
    EXPECT_EQ(tb::listCountLine(0, ListShown::Search), QStringLiteral(" Aucune fiche."));
}

TEST(ListCountLine, TipTellsHomonymsApartByPlaceAndNumber)
{
    EXPECT_EQ(tb::cardLineTip(makeCard("VINCENT", "Véronique", 1, 1, 1, "17340", QStringLiteral("CHÂTELAILLON-PLAGE")), 12),
              QStringLiteral("17340 CHÂTELAILLON-PLAGE, fiche n° 12"));
    EXPECT_EQ(tb::cardLineTip(makeCard("VINCENT", "Véronique", 1, 1, 1), 30), QStringLiteral("fiche n° 30"));
}
