// vCard files: what the export writes, and the files of phones and address
// books read back.
#include "core/base/codepage.h"
#include "core/cards/card_fields.h"
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/vcard.h"
#include "exchange_samples.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using exchange_samples::card;
using exchange_samples::foldedBase64;
using exchange_samples::picture;

namespace {

const QStringList kCaptions = tb::exchangeCaptions({QStringLiteral("Profession"), QStringLiteral("Date de naissance"),
                                                    QStringLiteral("Société")});

// Fields 2 to 20 of a contact as one text per field number, for comparisons.
std::map<int, QString> filled(const tb::Contact& c)
{
    std::map<int, QString> out;
    for (int k = 2; k <= 20; ++k)
        if (!c.field(k).isEmpty())
            out[k] = c.field(k);
    return out;
}

TEST(VCardExport, WritesNamesAddressPhonesNotesAndPhotoAsAddressBooksReadThem)
{
    const CardRecord c = card({{1, QStringLiteral("1 120                  45")},
                               {2, QStringLiteral("Mme")},
                               {3, QStringLiteral("DURAND; SARL")},
                               {4, QStringLiteral("Hélène")},
                               {5, QStringLiteral("3, rue de la Gare")},
                               {6, QStringLiteral("33000")},
                               {7, QStringLiteral("Bordeaux")},
                               {8, QStringLiteral("05 56 00 00 00")},
                               {9, QStringLiteral("06 12 34 56 78")},
                               {10, QStringLiteral("helene@example.fr")},
                               {11, QStringLiteral("Fleuriste")},
                               {13, QStringLiteral("Les Fleurs\\du Mal")}});
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
    EXPECT_EQ(tb::vCardOf(card({{3, QStringLiteral("MARTIN")}}), kCaptions, {}),
              QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:MARTIN;;;;\r\nFN:MARTIN\r\nX-TABULON-PIN:;0;0\r\nEND:VCARD\r\n"));
}

TEST(VCardExport, FoldsLongLinesAt75BytesWithoutCuttingALetter)
{
    const QString street = QString(39, u'é');
    const QByteArray text = tb::vCardOf(card({{3, QStringLiteral("X")}, {5, street}}), kCaptions, picture("JPG"));
    for (const QByteArray& line : text.split('\n')) {
        EXPECT_LE(line.size(), 76) << line.constData();  // 75 and the CR
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line) << "a letter cut: " << line.constData();
    }
    const auto back = tb::readVCards(text, kCaptions);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].field(5), street);
    EXPECT_EQ(back[0].photo, picture("JPG"));
}

TEST(VCardImport, ReadsAnAndroidVersion21FileWithQuotedPrintableSoftBreaksAndSeveralNumbers)
{
    const QByteArray photo = picture("JPG");
    const QByteArray file =
        "BEGIN:VCARD\r\n"
        "VERSION:2.1\r\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:L=C3=A9vy;Ren=C3=A9e;;;\r\n"
        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ren=C3=A9e L=C3=A9vy\r\n"
        "TEL;CELL;PREF:06 12 34 56 78\r\n"
        "TEL;HOME:01 23 45 67 89\r\n"
        "TEL;WORK:01 98 76 54 32\r\n"
        "TEL;CELL:07 00 00 00 01\r\n"
        "TEL;FAX:01 00 00 00 02\r\n"
        "EMAIL;HOME:renee@example.fr\r\n"
        "ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;12 rue de l'=C3=89glise;Cr=C3=A9teil;;94000;France\r\n"
        "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Cliente fid=C3=A8le=0D=0A=\r\n"
        "Profession: M=C3=A9decin\r\n"
        "BDAY:1970-04-01\r\n"
        "PHOTO;ENCODING=BASE64;JPEG:"
        + foldedBase64(photo, 60, " ")
        + "\r\n"
          "END:VCARD\r\n"
          "BEGIN:VCARD\r\n"
          "VERSION:2.1\r\n"
          "N:Martin;Paul;;;\r\n"
          "END:VCARD\r\n";
    const auto contacts = tb::readVCards(file, kCaptions);
    ASSERT_EQ(contacts.size(), 2u);
    const std::map<int, QString> expected = {
        {3, QStringLiteral("Lévy")},           {4, QStringLiteral("Renée")},          {5, QStringLiteral("12 rue de l'Église")},
        {6, QStringLiteral("94000")},          {7, QStringLiteral("Créteil")},        {8, QStringLiteral("01 23 45 67 89")},
        {9, QStringLiteral("06 12 34 56 78")}, {10, QStringLiteral("renee@example.fr")}, {11, QStringLiteral("Médecin")},
        {12, QStringLiteral("01/04/1970")}};
    EXPECT_EQ(filled(contacts[0]), expected);
    EXPECT_EQ(contacts[0].photo, photo);
    EXPECT_EQ(contacts[0].notKept,
              QStringList({QStringLiteral("télécopie : 01 00 00 00 02"), QStringLiteral("autre téléphone : 01 98 76 54 32"),
                           QStringLiteral("autre portable : 07 00 00 00 01"), QStringLiteral("note : Cliente fidèle")}));
    EXPECT_EQ(filled(contacts[1]), (std::map<int, QString>{{3, QStringLiteral("Martin")}, {4, QStringLiteral("Paul")}}));
}

TEST(VCardImport, ReadsAnAppleVersion30FileWithGroupsEscapesCompaniesAndUnindentedPhotoLines)
{
    const QByteArray photo = picture("JPG", Qt::blue);
    const QByteArray file =
        "BEGIN:VCARD\n"
        "VERSION:3.0\n"
        "PRODID:-//Apple Inc.//iPhone OS 17.0//EN\n"
        "N:Kowalski;Łukasz;Jan;M.;\n"
        "FN:Łukasz Kowalski\n"
        "ORG:Société Générale;\n"
        "item1.ADR;type=HOME;type=pref:;;5 avenue des Champs-Élysées\\nBâtiment B;Paris;;75008;France\n"
        "item1.X-ABADR:fr\n"
        "item2.ADR;type=WORK:;;1 Main St;Boston;MA;02110;USA\n"
        "TEL;type=CELL;type=VOICE;type=pref:+33 6 11 22 33 44\n"
        "TEL;type=HOME;type=VOICE:01 40 00 00 00\n"
        "EMAIL;type=INTERNET;type=HOME;type=pref:lukasz@example.com\n"
        "EMAIL;type=INTERNET;type=WORK:l.k@example.com\n"
        "NOTE:Date de naissance: 1er mai\\, 1980\n"
        "PHOTO;ENCODING=b;TYPE=JPEG:"
        + foldedBase64(photo, 72, "")
        + "END:VCARD\n"
          "BEGIN:VCARD\n"
          "VERSION:3.0\n"
          "N:;;;;\n"
          "FN:Boulangerie Dupain\n"
          "ORG:Boulangerie Dupain;\n"
          "X-ABShowAs:COMPANY\n"
          "END:VCARD\n";
    const auto contacts = tb::readVCards(file, kCaptions);
    ASSERT_EQ(contacts.size(), 2u);
    const std::map<int, QString> expected = {{2, QStringLiteral("M.")},
                                             {3, QStringLiteral("Kowalski")},
                                             {4, QStringLiteral("Łukasz Jan")},
                                             {5, QStringLiteral("5 avenue des Champs-Élysées, Bâtiment B")},
                                             {6, QStringLiteral("75008")},
                                             {7, QStringLiteral("Paris")},
                                             {8, QStringLiteral("01 40 00 00 00")},
                                             {9, QStringLiteral("+33 6 11 22 33 44")},
                                             {10, QStringLiteral("lukasz@example.com")},
                                             {12, QStringLiteral("1er mai, 1980")},
                                             {13, QStringLiteral("Société Générale")}};
    EXPECT_EQ(filled(contacts[0]), expected);
    EXPECT_EQ(contacts[0].photo, photo);
    EXPECT_EQ(contacts[0].notKept,
              QStringList({QStringLiteral("autre adresse e-mail : l.k@example.com"),
                           QStringLiteral("autre adresse : 1 Main St, 02110 Boston, USA")}));
    // A company's own card: its name is the surname, and the company field has it too.
    EXPECT_EQ(filled(contacts[1]), (std::map<int, QString>{{3, QStringLiteral("Boulangerie Dupain")},
                                                           {13, QStringLiteral("Boulangerie Dupain")}}));
}

TEST(VCardImport, ReadsVersion40WithUriNumbersDataPhotosAndNoNameProperty)
{
    const QByteArray png = picture("PNG");
    const QByteArray file = "BEGIN:VCARD\r\n"
                            "VERSION:4.0\r\n"
                            "FN:Anne-Sophie Dupont\r\n"
                            "N:Dupont;Anne-Sophie;;Mme;\r\n"
                            "TEL;TYPE=\"cell,voice\";VALUE=uri:tel:+33-7-00-11-22-33\r\n"
                            "TEL;VALUE=uri;TYPE=home:tel:04 72 00 00 00\r\n"
                            "ADR;TYPE=work;LABEL=\"1 place Bellecour\\n69002 Lyon\":;;1 place Bellecour;Lyon;;69002;France\r\n"
                            "EMAIL;PREF=1:asd@example.org\r\n"
                            "PHOTO:data:image/png;base64,"
                            + png.toBase64()
                            + "\r\n"
                              "END:VCARD\r\n"
                              "BEGIN:VCARD\r\n"
                              "VERSION:4.0\r\n"
                              "FN:Jean-Pierre de la Fontaine\r\n"
                              "END:VCARD\r\n";
    const auto contacts = tb::readVCards(file, kCaptions);
    ASSERT_EQ(contacts.size(), 2u);
    EXPECT_EQ(filled(contacts[0]),
              (std::map<int, QString>{{2, QStringLiteral("Mme")},
                                      {3, QStringLiteral("Dupont")},
                                      {4, QStringLiteral("Anne-Sophie")},
                                      {5, QStringLiteral("1 place Bellecour")},
                                      {6, QStringLiteral("69002")},
                                      {7, QStringLiteral("Lyon")},
                                      {8, QStringLiteral("04 72 00 00 00")},
                                      {9, QStringLiteral("+33-7-00-11-22-33")},
                                      {10, QStringLiteral("asd@example.org")}}));
    EXPECT_EQ(contacts[0].photo, png);
    // Without N the last word of the full name is the surname, with its particles.
    EXPECT_EQ(filled(contacts[1]), (std::map<int, QString>{{3, QStringLiteral("de la Fontaine")},
                                                           {4, QStringLiteral("Jean-Pierre")}}));
}

TEST(VCardImport, ReadsAWindows1252FileWithoutCharsetAndAByteOrderMark)
{
    const QByteArray latin = tb::toCp1252(QStringLiteral("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Bérézina;Zoé\r\nEND:VCARD\r\n"));
    const auto a = tb::readVCards(latin, kCaptions);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].field(3), QStringLiteral("Bérézina"));
    const auto b = tb::readVCards("\xEF\xBB\xBF" + QStringLiteral("BEGIN:VCARD\nVERSION:3.0\nN:Bérézina;Zoé\nEND:VCARD\n").toUtf8(), kCaptions);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].field(4), QStringLiteral("Zoé"));
}

class VCardExportFailure : public ::testing::Test {
protected:
    TempProgramFolder program;
};

TEST_F(VCardExportFailure, AnExportIntoAMissingFolderSaysSo)
{
    TempDatabase source(program.path());
    writeCards(source.path(), {card({{1, QStringLiteral("1 1                    1")}, {3, QStringLiteral("A")}})});
    auto db = tb::Database::open(source.path());
    ASSERT_TRUE(db);
    const auto missing = tb::writeVCardFile(*db.value(), program.file(QStringLiteral("nulle/part.vcf")), true);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, tb::kErrorPathNotFound);
}

}  // namespace
