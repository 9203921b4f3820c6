// Sorted card lists: display lines, parallel numbers, French case-insensitive order.
#include "cards/card_store.h"
#include "lists/card_lists.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using tb::ListKind;

namespace {

QString pad(const QString& text, int width) { return text.leftJustified(width, u' ', true); }

// Expected display line: the fields of the kind's order, joined by blanks.
QString displayLine(const CardRecord& c, ListKind kind)
{
    switch (kind) {
    case ListKind::ByCity:
        return c.field(7) + u' ' + c.field(6) + u' ' + c.field(3) + u' ' + c.field(4);
    case ListKind::ByPostalCode:
        return c.field(6) + u' ' + c.field(7) + u' ' + c.field(3) + u' ' + c.field(4);
    default:
        return c.field(3) + u' ' + c.field(4) + u' ' + c.field(6) + u' ' + c.field(7);
    }
}

class CardListsTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};
    CardStore store{db.path()};

    void write(const std::vector<CardRecord>& cards) { writeCards(db.path(), cards); }
    tb::ParallelLists list(ListKind kind) { return tb::buildCardList(store, store.readCount(), kind); }
    QStringList surnames(const tb::ParallelLists& lists)
    {
        QStringList out;
        for (const QString& line : lists.displayLines())
            out.append(line.left(15).trimmed());
        return out;
    }
    std::vector<long long> numbers(const tb::ParallelLists& lists)
    {
        std::vector<long long> out;
        for (int i = 0; i < lists.size(); ++i)
            out.push_back(lists.numberAt(i));
        return out;
    }
};

// A card with a raw field 1 (marker character and position).
CardRecord cardWithField1(const QString& field1, const QString& surname)
{
    CardRecord card = makeCard(surname, QStringLiteral("Jean"), 1, 10, 10);
    card.fields[0] = pad(field1, 30);
    return card;
}

}  // namespace

TEST_F(CardListsTest, DisplayLinesKeepEveryFieldAtFullWidth)
{
    const CardRecord card = makeCard(QStringLiteral("DUPONT"), QStringLiteral("Jean-Marc"), 3, 120, 45,
                                     QStringLiteral("75001"), QStringLiteral("Paris"));
    const QString surname = QStringLiteral("DUPONT         ");
    const QString first = QStringLiteral("Jean-Marc      ");
    const QString city = QStringLiteral("Paris") + QString(35, u' ');
    ASSERT_EQ(city.size(), 40);
    const QString alpha = surname + " " + first + " 75001 " + city;
    EXPECT_EQ(displayLine(card, ListKind::Alphabetical), alpha);
    EXPECT_EQ(displayLine(card, ListKind::Archived), alpha);
    EXPECT_EQ(displayLine(card, ListKind::ByCity), city + " 75001 " + surname + " " + first);
    EXPECT_EQ(displayLine(card, ListKind::ByPostalCode), "75001 " + city + " " + surname + " " + first);
    EXPECT_EQ(displayLine(card, ListKind::Alphabetical).size(), 15 + 1 + 15 + 1 + 5 + 1 + 40);

    // The store pass decodes the same line from the raw record, accents included.
    write({makeCard(QStringLiteral("LEFÈVRE"), QStringLiteral("Zoé"), 2, 1, 1, QStringLiteral("13001"),
                    QStringLiteral("Marseille"))});
    const tb::ParallelLists lists = list(ListKind::Alphabetical);
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists.displayAt(0), displayLine(store.read(1), ListKind::Alphabetical));
    EXPECT_TRUE(lists.displayAt(0).startsWith(QStringLiteral("LEFÈVRE         Zoé  ")));
}

TEST_F(CardListsTest, SortLineAndNumberEntry)
{
    const QString line = tb::sortLine(QStringLiteral("X"), 5);
    EXPECT_EQ(line, QStringLiteral("X Fiche n°          ") + " 5");
    EXPECT_EQ(tb::numberEntry(line), QString(9, u' ') + "5");
    EXPECT_EQ(tb::numberEntry(tb::sortLine(QStringLiteral("X"), 123456789)), QStringLiteral(" 123456789"));

    tb::ParallelLists lists;
    lists.add(QStringLiteral("X"), 5);
    EXPECT_EQ(lists.sortLines(), QStringList{line});
    EXPECT_EQ(lists.numberEntries(), QStringList{QString(9, u' ') + "5"});
    EXPECT_EQ(lists.numberAt(0), 5);
    EXPECT_EQ(lists.numberAt(1), 0);
    EXPECT_EQ(lists.numberAt(-1), 0);
}

TEST_F(CardListsTest, SortsByFrenchCaseInsensitiveOrderAndKeepsNumbersInStep)
{
    write({makeCard("B", "", 1, 1, 1), makeCard("A", "", 1, 1, 1), makeCard("C", "", 1, 1, 1)});
    tb::ParallelLists lists = list(ListKind::Alphabetical);
    EXPECT_EQ(surnames(lists), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(numbers(lists), (std::vector<long long>{2, 1, 3}));
    EXPECT_EQ(lists.numberEntries(),
              (QStringList{QString(9, u' ') + "2", QString(9, u' ') + "1", QString(9, u' ') + "3"}));
    for (int i = 0; i < lists.size(); ++i)
        EXPECT_EQ(lists.sortLines()[i], tb::sortLine(lists.displayLines()[i], lists.numberAt(i)));

    // Byte order would put "b" after "C" and "É" after "Z".
    write({makeCard("b", "", 1, 1, 1), makeCard("ZOE", "", 1, 1, 1), makeCard("ÉMILE", "", 1, 1, 1),
           makeCard("C", "", 1, 1, 1), makeCard("EMMA", "", 1, 1, 1), makeCard("A", "", 1, 1, 1),
           makeCard("EDGAR", "", 1, 1, 1), makeCard("a", "", 1, 1, 1)});
    lists = list(ListKind::Alphabetical);
    EXPECT_EQ(surnames(lists), (QStringList{"A", "a", "b", "C", "EDGAR", "ÉMILE", "EMMA", "ZOE"}));

    // A shorter name, padded with blanks, comes before a longer one.
    write({makeCard("MARTINEZ", "", 1, 1, 1), makeCard("MARTIN", "Zoé", 1, 1, 1)});
    EXPECT_EQ(surnames(list(ListKind::Alphabetical)), (QStringList{"MARTIN", "MARTINEZ"}));
}

TEST_F(CardListsTest, IdenticalLinesOrderByNumberText)
{
    std::vector<CardRecord> cards;
    for (int i = 1; i <= 12; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(i, 2, 10, QLatin1Char('0')), "", 1, 1, 1));
    cards[1] = makeCard("SAME", "Jean", 1, 1, 1, "75001", "Paris");
    cards[11] = makeCard("SAME", "Jean", 1, 1, 1, "75001", "Paris");
    write(cards);
    const tb::ParallelLists lists = list(ListKind::Alphabetical);
    const int first = int(lists.displayLines().indexOf(displayLine(cards[1], ListKind::Alphabetical)));
    ASSERT_GE(first, 0);
    EXPECT_EQ(lists.numberAt(first), 12);
    EXPECT_EQ(lists.numberAt(first + 1), 2);
}

TEST_F(CardListsTest, ArchivedCardsOnlyInArchivedList)
{
    write({makeCard("ACTIF", "", 7, 1, 1), makeCard("ZERO", "", 0, 1, 1), cardWithField1(" 12  34", "BLANC"),
           cardWithField1("x", "LETTRE"), makeCard("NEUF", "", 9, 1, 1)});
    EXPECT_EQ(surnames(list(ListKind::Alphabetical)), (QStringList{"ACTIF", "NEUF"}));
    EXPECT_EQ(surnames(list(ListKind::ByCity)).size(), 2);
    EXPECT_EQ(surnames(list(ListKind::ByPostalCode)).size(), 2);
    const tb::ParallelLists archived = list(ListKind::Archived);
    EXPECT_EQ(surnames(archived), (QStringList{"BLANC", "LETTRE", "ZERO"}));
    EXPECT_EQ(numbers(archived), (std::vector<long long>{3, 4, 2}));
}

TEST_F(CardListsTest, CityAndPostalCodeOrders)
{
    write({makeCard("AA", "", 1, 1, 1, "75002", "Paris"), makeCard("BB", "", 1, 1, 1, "13001", "Marseille"),
           makeCard("CC", "", 1, 1, 1, "06000", "Nice"), makeCard("DD", "", 1, 1, 1, "75001", "Paris")});
    EXPECT_EQ(numbers(list(ListKind::ByCity)), (std::vector<long long>{2, 3, 4, 1}));
    EXPECT_EQ(numbers(list(ListKind::ByPostalCode)), (std::vector<long long>{3, 2, 4, 1}));
}

TEST_F(CardListsTest, NameListHoldsEveryCardInNameOrder)
{
    write({makeCard("B", "Y", 1, 1, 1), makeCard("A", "Z", 0, 1, 1), makeCard("B", "X", 1, 1, 1)});
    const tb::ParallelLists names = tb::buildNameList(store, 3);
    EXPECT_EQ(numbers(names), (std::vector<long long>{2, 3, 1}));
    EXPECT_EQ(names.displayAt(0), pad("A", 15) + " " + pad("Z", 15));
    EXPECT_EQ(names.sortLines()[0], pad("A", 15) + " " + pad("Z", 15) + " Fiche n°          " + " 2");
}

TEST_F(CardListsTest, HitListInCardNumberOrderWithinTheCount)
{
    write({makeCard("C", "", 1, 1, 1), makeCard("A", "", 1, 1, 1), makeCard("B", "", 1, 1, 1)});
    const tb::ParallelLists hits = tb::hitList(store, 3, {3, 1, 3, 7});
    EXPECT_EQ(numbers(hits), (std::vector<long long>{1, 3}));
    EXPECT_EQ(hits.displayAt(1), displayLine(store.read(3), ListKind::Alphabetical));
    EXPECT_EQ(hits.numberEntries()[1], QString(9, u' ') + "3");
    EXPECT_TRUE(tb::hitList(store, 3, {}).isEmpty());
    EXPECT_TRUE(tb::hitList(store, 1, {2, 3}).isEmpty());
}

TEST_F(CardListsTest, CountPastTheRecordsListsOnlyWrittenCards)
{
    write({makeCard("A", "", 1, 1, 1)});
    EXPECT_EQ(tb::buildCardList(store, 1000000, ListKind::Alphabetical).size(), 1);
    EXPECT_EQ(tb::buildNameList(store, 0).size(), 0);
}
