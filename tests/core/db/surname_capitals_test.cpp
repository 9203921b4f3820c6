#include "core/db/database.h"
#include "fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;

// A creation and "Valider la modification" put the surname in capitals; a
// store of any other kind (a move, a journal, a debt calculation, an
// archiving) keeps it as typed.
TEST(SurnameCapitals, OnCreationAndValidationOnly)
{
    TempProgramFolder program;
    TempDatabase folder(program.path());
    auto opened = tb::Database::open(folder.path());
    ASSERT_TRUE(opened);
    tb::Database& db = **opened;
    const auto surname = [&] { return db.card(1)->field(tb::kFieldSurname).trimmed(); };

    const CardRecord typed = makeCard(QStringLiteral("dupont-élise"), QStringLiteral("Jean"), 3, 10, 10);
    ASSERT_EQ(db.createCard(typed).value(), 1);
    EXPECT_EQ(surname(), QStringLiteral("DUPONT-ÉLISE"));

    ASSERT_TRUE(db.storeCard(1, typed));
    EXPECT_EQ(surname(), QStringLiteral("dupont-élise"));
    ASSERT_TRUE(db.setArchived(1, true));
    EXPECT_EQ(surname(), QStringLiteral("dupont-élise"));

    const tb::Result<CardRecord> stored = db.validateCard(1, typed);
    ASSERT_TRUE(stored);
    EXPECT_EQ(surname(), QStringLiteral("DUPONT-ÉLISE"));
    EXPECT_EQ(db.card(1)->toBytes(), stored->toBytes());
}
