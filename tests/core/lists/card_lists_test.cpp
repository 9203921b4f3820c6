// Sorted card lists: lines, numbers, French order; lists from the kept keys, in stages or at once,
// as the lines' own sort gives them, kept when made at opening; the count line under a list.
#include "core/base/number_text.h"
#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/lists/card_lists.h"
#include "core/lists/list_count.h"
#include "core/lists/sort_keys.h"
#include "support/fixtures.h"
#include "support/list_rows.h"

#include <QThread>
#include <gtest/gtest.h>

using namespace testing_support;
using tb::ListKind;
using tb::ListOrder;
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

const auto numbers = listNumbers;

CardRecord card(const QString& surname, int marker = 1, const QString& postalCode = {}, const QString& city = {})
{
    return makeCard(surname, QString(), marker, 1, 1, postalCode, city);
}

const auto rows = listRows;

tb::CardList staged(std::shared_ptr<const tb::SortKeys> keys, const CardStore& store, ListKind kind, ListOrder order)
{
    auto fill = tb::ListFill::start(std::move(keys), store, kind, order, 3);
    EXPECT_TRUE(bool(fill));
    tb::CardList list = (*fill)->takeFirst();
    EXPECT_EQ(list.size(), 3);
    while (!(*fill)->done()) {
        list.append((*fill)->takeMore());
        QThread::msleep(1);
    }
    list.append((*fill)->takeMore());
    EXPECT_TRUE((*fill)->status());
    return list;
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
    // Lines replaced many times, and a text the code page lacks, read back whole.
    for (int i = 0; i < 50; ++i)
        lists.replace(3, QStringLiteral("MARTIN %1 Łódź €").arg(i));
    EXPECT_EQ(lists.display(lists.rowOf(3)), QStringLiteral("MARTIN 49 Łódź €"));
    EXPECT_EQ(lists.displayLines().first(), QStringLiteral("MARTIN 49 Łódź €"));
    EXPECT_EQ(lists.display(1), QStringLiteral("SAME"));
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
    CardRecord blank = card("BLANC");
    blank.fields[0][0] = u' ';
    write({card("ACTIF", 7), card("ZERO", 0), blank, card("NEUF", 9)});
    EXPECT_EQ(surnames(ListKind::Alphabetical), (QStringList{"ACTIF", "NEUF"}));
    EXPECT_EQ(list(ListKind::ByCity).size(), 2);
    EXPECT_EQ(numbers(list(ListKind::Archived)), (Numbers{3, 2}));

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

TEST(ListsSortedInStages, GiveTheLinesOwnOrderForEveryKindAndAfterChanges)
{
    TempProgramFolder program;
    TempDatabase db{program.path()};
    // Case, accents, expanding and ignored characters, same names, numbers
    // whose texts sort 12 before 2; enough cards for every stage.
    const QStringList surnames = {"DUPONT", "dupont", "DUPONT-", "Dupont", "ÉMILE", "EMILE", "ŒUVRE", "OEUVRE",
                                  "STRAßE", "STRASSE", "Ça", "CA", "A\tB", "AB", "", "Zoé"};
    const QStringList firstNames = {"Jean", "jean", "Jéan", "", "Œil", "Oeil"};
    const QStringList cities = {"Paris", "PARIS", "Évry", "Evry", ""};
    std::vector<CardRecord> cards;
    for (int i = 0; i < 8300; ++i)
        cards.push_back(makeCard(surnames[i % surnames.size()], firstNames[(i / 7) % firstNames.size()],
                                 i % 9 == 0 ? 0 : 1, 1, 1, QString::number(75000 + (i / 11) % 4),
                                 cities[(i / 3) % cities.size()]));
    writeCards(db.path(), cards);
    const CardStore store(db.path());
    long long count = (long long)cards.size();
    ASSERT_TRUE(tb::SortKeys::usable());

    auto keys = std::make_shared<tb::SortKeys>();
    ASSERT_TRUE(keys->load(store, count));
    const auto check = [&](const char* when) {
        for (ListKind kind : {ListKind::Alphabetical, ListKind::ByCity, ListKind::ByPostalCode, ListKind::Archived}) {
            auto own = std::make_shared<tb::SortKeys>(tb::keyFields(kind));
            ASSERT_TRUE(own->load(store, count));
            const auto expected = rows(*tb::buildCardList(store, count, kind));
            EXPECT_EQ(rows(staged(own, store, kind, ListOrder::Line)), expected) << when << int(kind);
            EXPECT_EQ(rows(*tb::ListFill::sortAll(own, store, kind, ListOrder::Line)), expected) << when << int(kind);
        }
        const auto names = rows(*tb::buildNameList(store, count));
        EXPECT_EQ(rows(staged(keys, store, ListKind::Alphabetical, ListOrder::Name)), names) << when;
        EXPECT_EQ(rows(*tb::ListFill::sortAll(keys, store, ListKind::Alphabetical, ListOrder::Name)), names) << when;
        // The kept keys followed the changes as fresh ones read them.
        tb::SortKeys fresh;
        ASSERT_TRUE(fresh.load(store, count));
        EXPECT_EQ(keys->count(), count) << when;
        for (quint32 a = 0; a < 40; ++a)
            for (quint32 b = 0; b < 40; ++b)
                ASSERT_EQ(keys->lineLess(a, b), fresh.lineLess(a, b)) << when << a << " " << b;
    };
    check("read");

    // Changed cards (past half the keys' room, so that they are packed again)
    // and two cards more, then one less.
    for (size_t i = 0; i < cards.size(); i += 2)
        cards[i] = makeCard(QStringLiteral("NOUVEAU") + QString::number(i % 13), "", i % 4 ? 1 : 0, 1, 1);
    cards.push_back(makeCard("AAA", "", 1, 1, 1));
    cards.push_back(makeCard("aaa", "", 0, 1, 1));
    writeCards(db.path(), cards);
    for (size_t i = 0; i < cards.size() - 2; i += 2)
        keys->set((long long)i + 1, QByteArrayView(cards[i].toBytes()));
    count += 2;
    ASSERT_TRUE(keys->resize(store, count));
    check("changed");
    count -= 1;
    ASSERT_TRUE(keys->resize(store, count));
    EXPECT_EQ(rows(*tb::ListFill::sortAll(keys, store, ListKind::Alphabetical, ListOrder::Line)),
              rows(*tb::buildCardList(store, count, ListKind::Alphabetical)));
}

TEST(ListCountLine, CountAndListShownOrNoCardAndTheTipTellsHomonymsApart)
{
    using tb::ListShown;
    EXPECT_EQ(tb::listCountLine(1, ListShown::ByCity), QStringLiteral(" 1 fiche — par ville"));
    EXPECT_EQ(tb::listCountLine(53, tb::listShown(tb::ListKind::Alphabetical)),
              QStringLiteral(" 53 fiches — ordre alphabétique"));
    EXPECT_EQ(tb::listCountLine(2, ListShown::Search), QStringLiteral(" 2 fiches — recherche"));
    // Thousands apart as French readers group them.
    EXPECT_EQ(tb::listCountLine(95004, ListShown::Zone), QStringLiteral(" 95\u202F004 fiches — zone"));
    EXPECT_EQ(tb::listCountLine(0, ListShown::Search), QStringLiteral(" Aucune fiche."));
    // The tip tells homonyms apart by place and number.
    EXPECT_EQ(tb::cardLineTip(makeCard("VINCENT", "Véronique", 1, 1, 1, "17340", QStringLiteral("CHÂTELAILLON-PLAGE")), 12),
              QStringLiteral("17340 CHÂTELAILLON-PLAGE, fiche n° 12"));
    EXPECT_EQ(tb::cardLineTip(makeCard("VINCENT", "Véronique", 1, 1, 1), 30), QStringLiteral("fiche n° 30"));
}

// The list keys made in the background when a database opens give the
// lists of the cards as they are when the list is asked for: cards stored,
// created or deleted meanwhile included.
TEST(ListKeysMadeAtOpen, FollowTheCardsChangedBeforeTheFirstList)
{
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    std::vector<CardRecord> cards;
    for (int i = 0; i < 40; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM") + QString::number(i % 7), "Jean", i % 5 ? 1 : 0, 1, 1));
    writeCards(folder.path(), cards);
    const auto same = [&](const tb::Database& db, const char* when) {
        for (tb::ListKind kind : {tb::ListKind::Alphabetical, tb::ListKind::Archived})
            EXPECT_EQ(listRows(*db.list(kind)), listRows(*tb::buildCardList(db.store(), db.count(), kind))) << when;
        EXPECT_EQ(listRows(*db.nameList()), listRows(*tb::buildNameList(db.store(), db.count()))) << when;
    };
    {
        auto db = std::move(tb::Database::open(folder.path())).value();
        db->prepareLists();
        // Stored, archived, then a new card: the keys made follow them.
        ASSERT_TRUE(db->storeCard(3, makeCard("AAAA", "Zoé", 1, 1, 1)));
        ASSERT_TRUE(db->setArchived(4, true));
        ASSERT_TRUE(db->createCard(makeCard("ÉMILE", "", 1, 1, 1)));
        same(*db, "changed");
        // Kept after: later changes follow as before.
        ASSERT_TRUE(db->storeCard(5, makeCard("ZZZ", "", 1, 1, 1)));
        same(*db, "kept");
    }
    {
        // A deletion renumbers the last card: the keys are made again.
        auto db = std::move(tb::Database::open(folder.path())).value();
        db->prepareLists();
        ASSERT_TRUE(db->deleteCard(2));
        same(*db, "deleted");
    }
}
