// RIB keys of real account identifiers, the letter table and the refusals.
#include "core/tools/rib_key.h"

#include <gtest/gtest.h>

using namespace tb;

namespace {

std::optional<int> key(const QString& bank, const QString& branch, const QString& account)
{
    const auto k = ribKey(bank, branch, account);
    EXPECT_TRUE(k.ok()) << account.toStdString();
    return k.ok() ? k.value() : std::nullopt;
}

}  // namespace

TEST(RibKey, KeysOfKnownAccountsWithLettersCountedAsTheirDigit)
{
    EXPECT_EQ(key("30002", "00550", "0000157841Z"), 25);
    EXPECT_EQ(key("20041", "01005", "0500013M026"), 6);
    EXPECT_EQ(key("12345", "54321", "00000000032"), 97);  // a remainder of 0 is shown as 97
    EXPECT_EQ(key("12345", "54321", "00000000001"), 93);
    const char* const table[] = {"AJ", "BKS", "CLT", "DMU", "ENV", "FOW", "GPX", "HQY", "IRZ"};
    for (int digit = 1; digit <= 9; ++digit) {
        const std::optional<int> expected = key("30002", "00550", "000015784" + QString::number(digit) + "0");
        for (const char* letter = table[digit - 1]; *letter; ++letter) {
            const QString account = "000015784" + QString(QChar(*letter)) + "0";
            EXPECT_EQ(key("30002", "00550", account), expected) << *letter;
            EXPECT_EQ(key("30002", "00550", account.toLower()), expected) << *letter;
        }
    }
}

TEST(RibKey, WrongLengthsAreRefusedInOrderAndZeroCodesHaveNoKey)
{
    auto message = [](const QString& bank, const QString& branch, const QString& account) {
        const auto k = ribKey(bank, branch, account);
        return k.ok() ? QString() : k.error().message();
    };
    EXPECT_EQ(message("1234", "123", "1"), "Le code Banque doit comporter 5 caractères");
    EXPECT_EQ(message("123456", "00550", "0000157841Z"), "Le code Banque doit comporter 5 caractères");
    EXPECT_EQ(message("30002", "0055", "1"), "Le code Guichet doit comporter 5 caractères");
    EXPECT_EQ(message("30002", "00550", "000015784"), "Le N°de compte doit comporter 11 caractères");
    EXPECT_EQ(message("30002", "00550", "0000157841ZZ"), "Le N°de compte doit comporter 11 caractères");
    EXPECT_EQ(key("00000", "00550", "0000157841Z"), std::nullopt);
    EXPECT_EQ(key("30002", "00000", "0000157841Z"), std::nullopt);
}
