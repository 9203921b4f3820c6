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
