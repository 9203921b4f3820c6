// RIB keys of real account identifiers, the letter table and the refusals; the
// IBAN check: country length and mod-97 digits, a French IBAN read as its RIB.
#include "core/tools/iban.h"
#include "core/tools/rib_key.h"
#include "sample_rows.h"

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

TEST(RibKey, KeysWithLettersCountedAsTheirDigitAndWrongLengthsRefusedInOrder)
{
    EXPECT_EQ(key("30002", "00550", "0000157841Z"), 25);
    EXPECT_EQ(key("20041", "01005", "0500013M026"), 6);
    EXPECT_EQ(key("12345", "54321", "00000000032"), 97);  // a remainder of 0 is shown as 97
    const char* const table[] = {"AJ", "BKS", "CLT", "DMU", "ENV", "FOW", "GPX", "HQY", "IRZ"};
    for (int digit = 1; digit <= 9; ++digit) {
        const std::optional<int> expected = key("30002", "00550", "000015784" + QString::number(digit) + "0");
        for (const char* letter = table[digit - 1]; *letter; ++letter) {
            const QString account = "000015784" + QString(QChar(*letter)) + "0";
            EXPECT_EQ(key("30002", "00550", account), expected) << *letter;
            EXPECT_EQ(key("30002", "00550", account.toLower()), expected) << *letter;
        }
    }

    // Wrong lengths are refused in order; zero codes have no key.
    auto message = [](const QString& bank, const QString& branch, const QString& account) {
        const auto k = ribKey(bank, branch, account);
        return k.ok() ? QString() : k.error().message();
    };
    EXPECT_EQ(message("1234", "123", "1"), "Le code Banque doit comporter 5 caractères");
    EXPECT_EQ(message("30002", "0055", "1"), "Le code Guichet doit comporter 5 caractères");
    EXPECT_EQ(message("30002", "00550", "000015784"), "Le N°de compte doit comporter 11 caractères");
    EXPECT_EQ(message("30002", "00550", "0000157841ZZ"), "Le N°de compte doit comporter 11 caractères");
    EXPECT_EQ(key("00000", "00550", "0000157841Z"), std::nullopt);
    EXPECT_EQ(key("30002", "00000", "0000157841Z"), std::nullopt);
}

TEST(Iban, FrenchIbanGivesItsRibPartsAndEachFaultIsRefusedWithItsReason)
{
    const tb::Result<tb::IbanCheck> c = tb::checkIban(" fr76 3000 6000 0112 3456 7890 189 ");
    ASSERT_TRUE(c.ok()) << c.error().message().toStdString();
    EXPECT_EQ(c->iban, "FR7630006000011234567890189");
    EXPECT_TRUE(c->french);
    EXPECT_EQ(tb::frenchIbanParts(*c), "Banque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89");
    // Another country: checked, not split.
    const tb::Result<tb::IbanCheck> de = tb::checkIban("DE89 3704 0044 0532 0130 00");
    ASSERT_TRUE(de.ok());
    EXPECT_FALSE(de->french);

    // Each fault is refused with its reason.
    const QList<QByteArrayList> rows = sampleRows("core/tools/samples/iban_refusals.txt");
    EXPECT_EQ(rows.size(), 8);
    for (const QByteArrayList& row : rows) {
        const tb::Result<tb::IbanCheck> c = tb::checkIban(QString::fromUtf8(row[0]));
        ASSERT_FALSE(c.ok()) << row[0].constData();
        EXPECT_EQ(c.error().message(), " IBAN invalide : " + QString::fromUtf8(row[1])) << row[0].constData();
    }
}
