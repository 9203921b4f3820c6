// IBAN check: country length and mod-97 digits; a French IBAN read as its RIB.
#include "core/tools/iban.h"

#include <gtest/gtest.h>

namespace {

QString reason(const QString& iban)
{
    const tb::Result<tb::IbanCheck> c = tb::checkIban(iban);
    return c.ok() ? QStringLiteral("valide") : c.error().message();
}

}  // namespace

TEST(Iban, FrenchIbanGivesItsRibPartsWhateverItsBlanksAndCase)
{
    const tb::Result<tb::IbanCheck> c = tb::checkIban(QStringLiteral(" fr76 3000 6000 0112 3456 7890 189 "));
    ASSERT_TRUE(c.ok()) << c.error().message().toStdString();
    EXPECT_EQ(c->iban, "FR7630006000011234567890189");
    EXPECT_TRUE(c->french);
    EXPECT_EQ(tb::frenchIbanParts(*c), QStringLiteral("Banque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89"));
    // Another country: checked, not split.
    const tb::Result<tb::IbanCheck> de = tb::checkIban(QStringLiteral("DE89 3704 0044 0532 0130 00"));
    ASSERT_TRUE(de.ok());
    EXPECT_FALSE(de->french);
}

TEST(Iban, EachFaultIsRefusedWithItsReason)
{
    const QString head = QStringLiteral(" IBAN invalide : ");
    EXPECT_EQ(reason(""), head + QStringLiteral("aucun numéro n'a été saisi"));
    EXPECT_EQ(reason("FR76-3000"), head + QStringLiteral("seuls les lettres, les chiffres et les blancs sont permis"));
    EXPECT_EQ(reason("7630006000011234567890189"), head + QStringLiteral("il doit commencer par les deux lettres du pays"));
    EXPECT_EQ(reason("FRXX30006000011234567890189"),
              head + QStringLiteral("les deux chiffres de contrôle doivent suivre le pays"));
    EXPECT_EQ(reason("FR763000600001123456789018"),
              head + QStringLiteral("un IBAN FR compte 27 caractères, celui-ci en compte 26"));
    // One digit changed, two digits swapped: the check digits see both.
    EXPECT_EQ(reason("FR7630006000011234567890188"),
              head + QStringLiteral("les chiffres de contrôle ne correspondent pas au numéro"));
    EXPECT_EQ(reason("FR7630006000011234567809189"),
              head + QStringLiteral("les chiffres de contrôle ne correspondent pas au numéro"));
    // Right check digits over a wrong RIB key (recomputed for "…90188").
    EXPECT_EQ(reason("FR0630006000011234567890188"),
              head + QStringLiteral("la clé RIB 88 ne correspond pas à la banque, au guichet et au compte"));
    EXPECT_EQ(reason("ZZ12"), head + QStringLiteral("un IBAN compte de 15 à 34 caractères, celui-ci en compte 4"));
}
