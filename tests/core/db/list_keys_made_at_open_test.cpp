// The list keys made in the background when a database opens give the
// lists of the cards as they are when the list is asked for: cards stored,
// created or deleted meanwhile included.
#include "core/db/database.h"
#include "support/fixtures.h"
#include "support/list_rows.h"

#include <gtest/gtest.h>

using namespace testing_support;

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
