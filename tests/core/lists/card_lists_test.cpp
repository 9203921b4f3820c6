// Sorted card lists: display lines, parallel numbers, French case-insensitive
// order; the line under a list: how many cards, French style, and which list.
#include "core/base/number_text.h"
#include "core/cards/card_store.h"
#include "core/lists/card_lists.h"
#include "core/lists/list_count.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using tb::ListKind;
using Numbers = std::vector<long long>;

namespace {

class CardListsTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};
    CardStore store{db.path()};

    void write(const std::vector<CardRecord>& cards) { writeCards(db.path(), cards); }
    tb::CardList list(ListKind kind) { return *tb::buildCardList(store, store.readCount().value, kind); }
    QStringList surnames(ListKind kind)
    {
        QStringList out;
        for (const QString& line : list(kind).displayLines())
            out.append(line.left(15).trimmed());
        return out;
    }
};

Numbers numbers(const tb::CardList& lists)
{
    Numbers out;
    for (int i = 0; i < lists.size(); ++i)
        out.push_back(lists.number(i));
    return out;
}

CardRecord card(const QString& surname, int marker = 1, const QString& postalCode = {}, const QString& city = {})
{
    return makeCard(surname, QString(), marker, 1, 1, postalCode, city);
}

}  // namespace

TEST_F(CardListsTest, DisplayLinesKeepEveryFieldAtFullWidthInTheKindsOrder)
{
    write({makeCard("LEFÈVRE", "Zoé", 2, 1, 1, "13001", "Marseille"),
           makeCard("DUPONT", "Jean-Marc", 0, 1, 1, "75001", "Paris")});
    const QString names = QStringLiteral("LEFÈVRE         Zoé            ");
    const QString city = QStringLiteral("Marseille") + QString(31, u' ');
    EXPECT_EQ(list(ListKind::Alphabetical).displayLines(), QStringList{names + " 13001 " + city});
    EXPECT_EQ(list(ListKind::ByCity).displayLines(), QStringList{city + " 13001 " + names});
    EXPECT_EQ(list(ListKind::ByPostalCode).displayLines(), QStringList{"13001 " + city + " " + names});
    EXPECT_EQ(list(ListKind::Archived).displayLines(),
              QStringList{QStringLiteral("DUPONT          Jean-Marc       75001 Paris") + QString(35, u' ')});
}

TEST(CardList, TiesAndReplacingALine)
{
    // Identical lines fall to the number's text: card 12 before card 2.
    tb::CardList lists;
    lists.add("SAME", 2);
    lists.add("SAME", 12);
    lists.sort();
    EXPECT_EQ(numbers(lists), (Numbers{12, 2}));
    // A card whose name changed moves to its sorted place, and only it.
    lists.add("MARTIN", 3);
    lists.add("DURAND", 4);
    lists.sort();
    EXPECT_EQ(numbers(lists), (Numbers{4, 3, 12, 2}));
    EXPECT_EQ(lists.replace(4, "ZOLA"), 3);
    EXPECT_EQ(numbers(lists), (Numbers{3, 12, 2, 4}));
}

TEST_F(CardListsTest, SortsByFrenchCaseInsensitiveOrderKeepsNumbersInStepAndArchivedCardsApart)
{
    // Byte order would put "b" after "C" and "É" after "Z".
    write({card("b"), card("ZOE"), card("ÉMILE"), card("C"), card("EMMA"), card("A"), card("EDGAR"), card("a")});
    EXPECT_EQ(surnames(ListKind::Alphabetical), (QStringList{"A", "a", "b", "C", "EDGAR", "ÉMILE", "EMMA", "ZOE"}));
    EXPECT_EQ(numbers(list(ListKind::Alphabetical)), (Numbers{6, 8, 1, 4, 7, 3, 5, 2}));

    // A shorter name, padded with blanks, comes before a longer one.
    write({card("MARTINEZ"), makeCard("MARTIN", "Zoé", 1, 1, 1)});
    EXPECT_EQ(surnames(ListKind::Alphabetical), (QStringList{"MARTIN", "MARTINEZ"}));

    // Archived cards (any marker but 1 to 9) only in their list; city and postal code orders.
    CardRecord blank = card("BLANC"), letter = card("LETTRE");
    blank.fields[0][0] = u' ';
    letter.fields[0][0] = u'x';
    write({card("ACTIF", 7), card("ZERO", 0), blank, letter, card("NEUF", 9)});
    EXPECT_EQ(surnames(ListKind::Alphabetical), (QStringList{"ACTIF", "NEUF"}));
    EXPECT_EQ(list(ListKind::ByCity).size(), 2);
    EXPECT_EQ(numbers(list(ListKind::Archived)), (Numbers{3, 4, 2}));

    write({card("AA", 1, "75002", "Paris"), card("BB", 1, "13001", "Marseille"), card("CC", 1, "06000", "Nice"),
           card("DD", 1, "75001", "Paris")});
    EXPECT_EQ(numbers(list(ListKind::ByCity)), (Numbers{2, 3, 4, 1}));
    EXPECT_EQ(numbers(list(ListKind::ByPostalCode)), (Numbers{3, 2, 4, 1}));
}

TEST_F(CardListsTest, NameListHitListAndCountPastTheRecords)
{
    write({makeCard("B", "Y", 1, 1, 1), makeCard("A", "Z", 0, 1, 1), makeCard("B", "X", 1, 1, 1)});
    const tb::CardList names = *tb::buildNameList(store, 3);
    EXPECT_EQ(numbers(names), (Numbers{2, 3, 1}));
    EXPECT_EQ(names.display(0), "A               Z              ");

    // Hits: deduplicated, in card number order, within the count.
    const tb::CardList hits = *tb::hitList(store, 3, {3, 1, 3, 7});
    EXPECT_EQ(numbers(hits), (Numbers{1, 3}));
    EXPECT_EQ(hits.display(1), QStringLiteral("B               X") + QString(61, u' '));
    EXPECT_TRUE(tb::hitList(store, 1, {2, 3})->isEmpty());

    EXPECT_EQ(tb::buildCardList(store, 1000000, ListKind::Alphabetical)->size(), 2);  // past the written cards
    EXPECT_TRUE(tb::buildNameList(store, 0)->isEmpty());
}

TEST(ListCountLine, CountAndListShownOrNoCardAndTheTipTellsHomonymsApart)
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
    // The tip tells homonyms apart by place and number.
    EXPECT_EQ(tb::cardLineTip(makeCard("VINCENT", "Véronique", 1, 1, 1, "17340", QStringLiteral("CHÂTELAILLON-PLAGE")), 12),
              QStringLiteral("17340 CHÂTELAILLON-PLAGE, fiche n° 12"));
    EXPECT_EQ(tb::cardLineTip(makeCard("VINCENT", "Véronique", 1, 1, 1), 30), QStringLiteral("fiche n° 30"));
}
