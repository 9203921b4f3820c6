// IBAN check: country length and mod-97 digits; a French IBAN read as its RIB.
#include "core/tools/iban.h"

#include <gtest/gtest.h>

TEST(Iban, FrenchIbanGivesItsRibPartsWhateverItsBlanksAndCase)
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
}

TEST(Iban, EachFaultIsRefusedWithItsReason)
{
    const char* const mismatch = "les chiffres de contrôle ne correspondent pas au numéro";
    const std::pair<const char*, const char*> cases[] = {
        {"", "aucun numéro n'a été saisi"},
        {"FR76-3000", "seuls les lettres, les chiffres et les blancs sont permis"},
        {"7630006000011234567890189", "il doit commencer par les deux lettres du pays"},
        {"FRXX30006000011234567890189", "les deux chiffres de contrôle doivent suivre le pays"},
        {"FR763000600001123456789018", "un IBAN FR compte 27 caractères, celui-ci en compte 26"},
        // One digit changed, two digits swapped: the check digits see both.
        {"FR7630006000011234567890188", mismatch},
        {"FR7630006000011234567809189", mismatch},
        // Right check digits over a wrong RIB key (recomputed for "…90188").
        {"FR0630006000011234567890188", "la clé RIB 88 ne correspond pas à la banque, au guichet et au compte"},
        {"ZZ12", "un IBAN compte de 15 à 34 caractères, celui-ci en compte 4"},
    };
    for (const auto& [iban, reason] : cases) {
        const tb::Result<tb::IbanCheck> c = tb::checkIban(QString::fromUtf8(iban));
        ASSERT_FALSE(c.ok()) << iban;
        EXPECT_EQ(c.error().message(), " IBAN invalide : " + QString::fromUtf8(reason)) << iban;
    }
}
