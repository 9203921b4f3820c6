// Debt fields and the marker and status words of a card.
#include "core/cards/card_fields.h"
#include "core/cards/debt.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::array<QString, 6>;

TEST(Debt, PointFormsOfOwedCollectedAndRemaining)
{
    // A comma is a decimal point, empty or text counts zero, below one has no leading digit.
    EXPECT_EQ(tb::debtCalculation("10", "5,5", "", "3"), (Texts{"10.00", "5.50", ".00", "15.50", "3.00", "12.50"}));
    EXPECT_EQ(tb::debtCalculation("100", "20.5", "0", "50"),
              (Texts{"100.00", "20.50", ".00", "120.50", "50.00", "70.50"}));
    // Fields read back from a record carry their blanks; halves round away from zero; remaining may be negative.
    EXPECT_EQ(tb::debtCalculation("12.345                                  ", "  0.005", "abc", "20"),
              (Texts{"12.35", ".01", ".00", "12.35", "20.00", "-7.65"}));
}

TEST(CardFields, StatusWords)
{
    EXPECT_EQ(tb::statusWord(tb::PinField::read(u"3 12")), "active");
    EXPECT_EQ(tb::statusWord(tb::PinField::read(u"0 12")), "archivée");
    EXPECT_EQ(tb::statusWord(tb::PinField()), "archivée");
    EXPECT_EQ(tb::statusWord(tb::PinField::read(u"7"), true), "Active");
    EXPECT_EQ(tb::statusWord(tb::PinField(), true), "Archivée");
    EXPECT_EQ(tb::fixedFieldCaptions().size(), 9);
    EXPECT_EQ(tb::fixedFieldCaptions()[1], "Nom ");
}

}  // namespace
