// Lists sorted from the kept byte keys, in stages or at once, are the lists
// the lines' own sort gives, for every kind, after changes too.
#include "core/cards/card_store.h"
#include "core/lists/card_lists.h"
#include "core/lists/sort_keys.h"
#include "support/fixtures.h"
#include "support/list_rows.h"

#include <QThread>
#include <gtest/gtest.h>

using namespace testing_support;
using tb::ListKind;
using tb::ListOrder;

namespace {

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
            const auto expected = listRows(*tb::buildCardList(store, count, kind));
            EXPECT_EQ(listRows(staged(own, store, kind, ListOrder::Line)), expected) << when << int(kind);
            EXPECT_EQ(listRows(*tb::ListFill::sortAll(own, store, kind, ListOrder::Line)), expected) << when << int(kind);
        }
        const auto names = listRows(*tb::buildNameList(store, count));
        EXPECT_EQ(listRows(staged(keys, store, ListKind::Alphabetical, ListOrder::Name)), names) << when;
        EXPECT_EQ(listRows(*tb::ListFill::sortAll(keys, store, ListKind::Alphabetical, ListOrder::Name)), names) << when;
        // The kept keys followed the changes as fresh ones read them.
        const tb::SortKeys fresh = [&] {
            tb::SortKeys k;
            k.load(store, count).ok();
            return k;
        }();
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
    EXPECT_EQ(listRows(*tb::ListFill::sortAll(keys, store, ListKind::Alphabetical, ListOrder::Line)),
              listRows(*tb::buildCardList(store, count, ListKind::Alphabetical)));
}
