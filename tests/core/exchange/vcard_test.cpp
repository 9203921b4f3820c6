// vCard export: what it writes, folded as address books read it.
#include "core/cards/card_fields.h"
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/vcard.h"
#include "exchange_samples.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using exchange_samples::card;
using exchange_samples::picture;

namespace {

const QStringList kCaptions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société"});

TEST(VCardExport, WritesNamesAddressPhonesNotesAndPhotoAsAddressBooksReadThem)
{
    const CardRecord c = card({{1, "1 120                  45"}, {2, "Mme"}, {3, "DURAND; SARL"}, {4, "Hélène"},
                               {5, "3, rue de la Gare"}, {6, "33000"}, {7, "Bordeaux"}, {8, "05 56 00 00 00"},
                               {9, "06 12 34 56 78"}, {10, "helene@example.fr"}, {11, "Fleuriste"},
                               {13, "Les Fleurs\\du Mal"}});
    const QByteArray expected = "BEGIN:VCARD\r\n"
                                "VERSION:3.0\r\n"
                                "N:DURAND\\; SARL;Hélène;;Mme;\r\n"
                                "FN:Hélène DURAND\\; SARL\r\n"
                                "ADR;TYPE=HOME:;;3\\, rue de la Gare;Bordeaux;;33000;France\r\n"
                                "TEL;TYPE=VOICE,HOME:05 56 00 00 00\r\n"
                                "TEL;TYPE=CELL:06 12 34 56 78\r\n"
                                "EMAIL;TYPE=INTERNET:helene@example.fr\r\n"
                                "TITLE:Fleuriste\r\n"
                                "ORG:Les Fleurs\\\\du Mal\r\n"
                                "X-TABULON-PIN:1;120;45\r\n"
                                "PHOTO;ENCODING=b;TYPE=PNG:iVBORw0K\r\n"
                                "END:VCARD\r\n";
    EXPECT_EQ(QString::fromUtf8(tb::vCardOf(c, kCaptions, QByteArray("\x89PNG\r\n", 6))), QString::fromUtf8(expected));

    // Nothing but the names for a bare card: no empty ADR, TEL or NOTE.
    EXPECT_EQ(tb::vCardOf(card({{3, "MARTIN"}}), kCaptions, {}),
              QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:MARTIN;;;;\r\nFN:MARTIN\r\nX-TABULON-PIN:;0;0\r\nEND:VCARD\r\n"));
}

TEST(VCardExport, FoldsLongLinesAt75BytesWithoutCuttingALetter)
{
    const QString street = QString(39, u'é');
    const QByteArray text = tb::vCardOf(card({{3, "X"}, {5, street}}), kCaptions, picture("JPG"));
    for (const QByteArray& line : text.split('\n')) {
        EXPECT_LE(line.size(), 76) << line.constData();  // 75 and the CR
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line) << "a letter cut: " << line.constData();
    }
    const auto back = tb::readVCards(text, kCaptions);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].field(5), street);
    EXPECT_EQ(back[0].photo, picture("JPG"));
}

TEST(VCardExport, AnExportIntoAMissingFolderSaysSo)
{
    TempProgramFolder program;
    TempDatabase source(program.path());
    writeCards(source.path(), {card({{1, "1 1                    1"}, {3, "A"}})});
    const auto missing = tb::writeVCardFile(*tb::Database::open(source.path()).value(), program.file("nulle/part.vcf"), true);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, tb::kErrorPathNotFound);
}

}  // namespace
