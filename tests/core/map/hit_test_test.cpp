#include "core/cards/card_store.h"
#include "core/map/hit_test.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using Hits = std::vector<long long>;

TEST(PinHit, StrictSquare)
{
    EXPECT_TRUE(tb::pinHit(95, 95, 100, 100));
    EXPECT_TRUE(tb::pinHit(105, 105, 100, 100));
    EXPECT_FALSE(tb::pinHit(94, 100, 100, 100));
    EXPECT_FALSE(tb::pinHit(100, 106, 100, 100));
    EXPECT_FALSE(tb::pinHit(106, 100, 100, 100));
    EXPECT_TRUE(tb::pinHit(105.9, 94.1, 100, 100));
}

TEST(CardsAt, FindsActiveCardsInOrder)
{
    TempProgramFolder program;
    TempDatabase db(program.path());
    writeCards(db.path(), {makeCard("A", "a", 3, 100, 100), makeCard("B", "b", 0, 100, 100),
                           makeCard("C", "c", 1, 300, 300), makeCard("D", "d", 7, 103, 97)});
    const CardStore store(db.path());
    EXPECT_EQ(tb::cardsAt(store, 4, 100, 100), (Hits{1, 4}));
    EXPECT_EQ(tb::cardsAt(store, 4, 95, 95), (Hits{1}));
    EXPECT_EQ(tb::cardsAt(store, 4, 105, 105), (Hits{1}));
    EXPECT_EQ(tb::cardsAt(store, 4, 94, 100), (Hits{}));
    EXPECT_EQ(tb::cardsAt(store, 4, 100, 106), (Hits{}));
    EXPECT_EQ(tb::cardsAt(store, 4, 108, 92), (Hits{4}));
    EXPECT_EQ(tb::cardsAt(store, 4, 600, 600), (Hits{}));
    // Only cards 1..count are searched, and never past the file.
    EXPECT_EQ(tb::cardsAt(store, 1, 100, 100), (Hits{1}));
    EXPECT_EQ(tb::cardsAt(store, 999999999, 300, 300), (Hits{3}));
    EXPECT_EQ(tb::cardsAt(store, 0, 100, 100), (Hits{}));
}
