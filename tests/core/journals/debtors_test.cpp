// The debtors and the last payment read from each card's collections journal.
#include "core/db/database.h"
#include "core/journals/debtors.h"
#include "support/fixtures.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

CardRecord owing(const QString& surname, int marker, const QString& remaining)
{
    CardRecord card = makeCard(surname, QStringLiteral("Jean"), marker, 10, 20, QStringLiteral("17000"),
                               QStringLiteral("LA ROCHELLE"));
    card.field(tb::kFieldRemaining) = tb::padField(remaining, 40);
    return card;
}

TEST(Debtors, ActiveCardsOwingLargestFirstWithTotalAndLastPaymentByDate)
{
    TempProgramFolder program;
    TempDatabase base(program.path());
    writeCards(base.path(), {owing("DUPONT", 1, "100.00"), owing("MARTIN", 0, "900.00"),
                             owing("BERNARD", 3, "250.50"), owing("PETIT", 2, ".00"), owing("ROBERT", 1, "-5.00"),
                             owing("DURAND", 7, "100"), owing("LEROY", 1, "0.004"), owing("SIMON", 1, "")});
    // The latest date wins, not the last line; a line whose date is no date
    // only counts when there is nothing better.
    writeBytes(base.file("R1.txt"), "50.00------------>05/01/26  Jean  chèque\r\n"
                                    "25.00------------>03/02/26  Jean  espèces\r\n"
                                    "10.00------------>28/12/25  Jean  chèque\r\n");
    writeBytes(base.file("R6.TXT"), "\r\n40.00------------>99/99/99  x  y\r\n");
    writeBytes(base.file("R2.txt"), "900.00------------>01/01/26  x  y\r\n");

    auto db = tb::Database::open(base.path(), tb::Database::Access::ReadOnly);
    ASSERT_TRUE(db);
    const tb::Result<tb::DebtorList> list = tb::debtorList(*db.value(), 2026);
    ASSERT_TRUE(list) << list.error().message().toStdString();
    ASSERT_EQ(list->debtors.size(), 3u);
    // Equal amounts keep the order of the cards.
    EXPECT_EQ((std::vector<long long>{list->debtors[0].number, list->debtors[1].number, list->debtors[2].number}),
              (std::vector<long long>{3, 1, 6}));
    EXPECT_DOUBLE_EQ(list->total, 450.50);
    EXPECT_TRUE(list->debtors[0].line.startsWith("BERNARD"));
    EXPECT_FALSE(list->debtors[0].last);
    ASSERT_TRUE(list->debtors[2].last);
    EXPECT_EQ(list->debtors[2].last->date, "99/99/99");
    EXPECT_EQ(tb::debtorText(list->debtors[1]), "      100.00  03/02/2026      25.00  DUPONT          Jean            "
                                                "17000 LA ROCHELLE");
    EXPECT_EQ(tb::debtorText(list->debtors[0]).simplified(), "250.50 aucun versement BERNARD Jean 17000 LA ROCHELLE");
    EXPECT_EQ(tb::debtorHeading().indexOf("Dernier"), tb::debtorText(list->debtors[1]).indexOf("03/02"));
    EXPECT_EQ(tb::debtorTotalText(*list), "Total dû : 450.50 (3 débiteur(s))");

    // A journal that cannot be read is said, never taken for "no payment".
    QFile::remove(base.file("R1.txt"));
    ASSERT_TRUE(QDir().mkdir(base.file("R1.txt")));
    EXPECT_FALSE(tb::debtorList(*db.value(), 2026));
}

}  // namespace
