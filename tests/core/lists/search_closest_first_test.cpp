// The search box lists first the cards whose fields begin with the words
// typed: all in one field, then spread over several, then the rest.
#include "core/db/database.h"
#include "core/lists/search_index.h"
#include "core/lists/search_rank.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using Numbers = std::vector<long long>;

TEST(SearchClosestFirst, WordsBeginningWordsOfOneFieldThenSeveralFieldsThenInside)
{
    const auto rank = [](const QString& typed, const QByteArray& card) {
        return tb::searchRank(tb::searchWords(typed), std::string_view(card.constData(), size_t(card.size())));
    };
    // Field 3 "martin", field 7 "chatelaillon plage".
    const QByteArray martin = QByteArray("\x03martin\x07") + "chatelaillon plage";
    EXPECT_EQ(rank("chatel pla", martin).match, tb::SearchMatch::OneField);
    EXPECT_EQ(rank("chatel pla", martin).field, 7);
    EXPECT_EQ(rank("pla mar", martin).match, tb::SearchMatch::SeveralFields);
    EXPECT_EQ(rank("chatel lage", martin).match, tb::SearchMatch::Inside);
    EXPECT_EQ(rank("artin", martin).match, tb::SearchMatch::Inside);
    // A word begins a word only after a blank or at the field's start, not
    // across the mark of the next field.
    EXPECT_EQ(rank("n", QByteArray("\x03") + "martin\x04nadia").match, tb::SearchMatch::OneField);
    EXPECT_EQ(rank("nnadia", QByteArray("\x03") + "martin\x04nadia").match, tb::SearchMatch::Inside);

    TempProgramFolder program;
    TempDatabase folder{program.path()};
    writeCards(folder.path(), {
                                  makeCard("MARTIN", "Éloïse", 3, 1, 1, "17340", QStringLiteral("CHÂTELAILLON-PLAGE")),
                                  makeCard("PLANCHE", "Luc", 3, 1, 1, "86100", QStringLiteral("CHÂTELLERAULT")),
                                  makeCard("DECHATEL", "Paul", 3, 1, 1, "75001", "PLAISIR"),
                                  makeCard("AUBERT", "Anne", 0, 1, 1, "17340", QStringLiteral("CHÂTELAILLON-PLAGE")),
                                  makeCard("ABEL", "Jean", 3, 1, 1, "38000", QStringLiteral("CHÂTEL PLACE")),
                                  makeCard("ZED", "Lou", 3, 1, 1, "77000", QStringLiteral("PLAISANCE-DU-CHÂTELET")),
                                  makeCard("ALBERT", "Léa", 3, 1, 1, "05000", "LA PLAINE"),
                              });
    auto opened = tb::Database::open(folder.path());
    ASSERT_TRUE(opened.ok());
    const std::unique_ptr<tb::Database> db = std::move(opened).value();
    const auto numbers = [](const tb::Database::SearchResult& r) {
        Numbers out;
        for (int row = 0; row < r.list.size(); ++row)
            out.push_back(r.list.number(row));
        return out;
    };

    // ABEL, MARTIN, ZED: both words in the city; PLANCHE: in two fields;
    // DECHATEL: "chatel" inside a word; the archived AUBERT last. ALBERT
    // lacks "chatel".
    const auto all = db->search(QStringLiteral("chatel pla"));
    ASSERT_TRUE(all.ok());
    EXPECT_EQ(numbers(*all), (Numbers{5, 1, 6, 2, 3, 4}));
    EXPECT_TRUE(all->list.display(1).endsWith(QStringLiteral(" : CHÂTELAILLON-PLAGE")));
    EXPECT_TRUE(all->list.display(5).endsWith(QStringLiteral("(archivée)")));

    // The first lines of a long result are the closest matches, not the
    // first names of the alphabet.
    const auto few = db->search(QStringLiteral("chatel"), 2);
    ASSERT_TRUE(few.ok());
    EXPECT_EQ(few->total, 6);
    EXPECT_EQ(numbers(*few), (Numbers{5, 1}));  // DECHATEL comes after ZED
}

TEST(SearchClosestFirst, ALongResultStillListsTheClosestMatchesFirst)
{
    // More cards than are ranked at once: the close ones lie far down the
    // alphabet, behind a first card that holds the letters inside a word.
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    std::vector<CardRecord> cards{makeCard("AAPAB", "Luc", 3, 1, 1)};
    for (int k = 1; k <= 600; ++k)
        cards.push_back(makeCard(QStringLiteral("B%1").arg(k, 3, 10, QLatin1Char('0')), k % 2 ? "Paul" : "Zapata", 3, 1, 1));
    writeCards(folder.path(), cards);
    auto opened = tb::Database::open(folder.path());
    ASSERT_TRUE(opened.ok());
    const std::unique_ptr<tb::Database> db = std::move(opened).value();
    db->searchIndex();
    for (int limit : {3, 0}) {
        const auto found = db->search(QStringLiteral("pa"), limit);
        ASSERT_TRUE(found.ok());
        EXPECT_EQ(found->total, 601);
        ASSERT_EQ(found->list.size(), limit ? 3 : 601);
        // B001, B003, B005 (Paul), …, then, "pa" inside a word, AAPAB, B002,
        // B004 (Zapata), ….
        EXPECT_EQ(found->list.number(0), 2);
        EXPECT_EQ(found->list.number(2), 6);
        if (!limit) {
            EXPECT_EQ(found->list.number(299), 600);
            EXPECT_EQ(found->list.number(300), 1);
            EXPECT_EQ(found->list.number(301), 3);
            EXPECT_EQ(found->list.number(600), 601);
        }
    }
}
