#include "cards/card_fields.h"
#include "cards/debt.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::array<QString, 6>;

TEST(Debt, CommaIsNoDecimalPointAndEmptyCountsZero)
{
    const Texts t = tb::debtCalculation("10", "5,5", "", "3");
    EXPECT_EQ(t, (Texts{"10.00", "5.00", ".00", "15.00", "3.00", "12.00"}));
}

TEST(Debt, ValuesBelowOneHaveNoLeadingDigit)
{
    const Texts t = tb::debtCalculation("100", "20.5", "0", "50");
    EXPECT_EQ(t, (Texts{"100.00", "20.50", ".00", "120.50", "50.00", "70.50"}));
}

TEST(Debt, PaddedPointFormsReadBackAndNegativeRemaining)
{
    // Fields read back from a record carry their trailing blanks.
    const Texts t = tb::debtCalculation("12.345                                  ", "  0.005", "abc", "20");
    EXPECT_EQ(t[0], "12.35");  // half away from zero
    EXPECT_EQ(t[1], ".01");
    EXPECT_EQ(t[2], ".00");
    EXPECT_EQ(t[3], "12.35");
    EXPECT_EQ(t[5], "-7.65");
}

TEST(CardFields, MarkerReplacementKeepsPosition)
{
    const QString field1 = QStringLiteral("1 123                  456    ");
    EXPECT_EQ(tb::withMarker(field1, u'3'), QStringLiteral("3 123                  456    "));
    EXPECT_EQ(tb::withMarker(QString(), u'5'), QStringLiteral("5"));
}

TEST(CardFields, StatusWords)
{
    EXPECT_EQ(tb::statusWord("3 12"), "active");
    EXPECT_EQ(tb::statusWord("0 12"), "archivée");
    EXPECT_EQ(tb::statusWord(" "), "archivée");
    EXPECT_EQ(tb::statusWord("7", true), "Active");
    EXPECT_EQ(tb::statusWord("", true), "Archivée");
    EXPECT_EQ(tb::fixedFieldCaptions().size(), 9);
    EXPECT_EQ(tb::fixedFieldCaptions()[1], "Nom ");
}

}  // namespace
