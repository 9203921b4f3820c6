// CSV files: the export byte for byte, and the files spreadsheets write read back.
#include "core/base/codepage.h"
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/csv.h"
#include "exchange_samples.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using exchange_samples::card;

namespace {

class CsvTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase base{program.path()};
};

TEST_F(CsvTest, ExportWritesAUtf8HeaderOfCaptionsAndQuotesOnlyWhatNeedsIt)
{
    writeCards(base.path(), {card({{1, "1 1                    1"}, {3, "DUPONT"}, {4, "Éric"}, {5, "3, rue \"Haute\""},
                                   {6, "01000"}, {20, "dernier"}}),
                             card({{1, "0 1                    1"}, {3, "ARCHIVE"}})});
    auto db = tb::Database::open(base.path());
    ASSERT_TRUE(db);
    const QString path = program.file("fiches.csv");
    const auto written = tb::writeCsvFile(*db.value(), path, false);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, 1);
    const QByteArray expected =
        "\xEF\xBB\xBF"
        "Mr/Mme/Me/Société...,Nom,Prénoms,Rue,Code Postal,Ville,N° de téléphone,N° de portable,Adresse E-mail,"
        "Profession,Date de naissance,Société,Observations,Montant dû,Intérêts,Frais,Total dû,Total recouvré,Reste dû\r\n"
        ",DUPONT,Éric,\"3, rue \"\"Haute\"\"\",01000,,,,,,,,,,,,,,dernier\r\n";
    EXPECT_EQ(QString::fromUtf8(readBytes(path)), QString::fromUtf8(expected));
    ASSERT_TRUE(tb::writeCsvFile(*db.value(), path, true));
    EXPECT_TRUE(readBytes(path).endsWith(",ARCHIVE,,,,,,,,,,,,,,,,,\r\n"));
}

TEST(CsvParse, ReadsQuotesLineBreaksInsideFieldsByteOrderMarkAndEmptyLastValues)
{
    const QByteArray file = "\xEF\xBB\xBFNom,Prénom,Rue\r\n"
                            "\"DUPONT, fils\",\"Jean \"\"Jeannot\"\"\",\"12 rue Haute\r\nBâtiment A\"\r\n"
                            "MARTIN,,\n"
                            "\n"
                            "LAST,x,y";
    const tb::CsvTable t = *tb::parseCsv(file);
    EXPECT_EQ(t.encoding, tb::CsvEncoding::Utf8);
    EXPECT_EQ(t.separator, u',');
    EXPECT_EQ(t.header, QStringList({"Nom", "Prénom", "Rue"}));
    ASSERT_EQ(t.rows.size(), 3);
    EXPECT_EQ(t.rows[0], QStringList({"DUPONT, fils", "Jean \"Jeannot\"", "12 rue Haute\r\nBâtiment A"}));
    EXPECT_EQ(t.rows[1], QStringList({"MARTIN", QString(), QString()}));
    EXPECT_EQ(t.rows[2], QStringList({"LAST", "x", "y"}));

    // The line break of a field becomes a blank in the card.
    const auto contacts = tb::contactsFromCsv(t, {3, 4, 5});
    EXPECT_EQ(contacts[0].field(5), "12 rue Haute Bâtiment A");
}

TEST(CsvParse, GuessesWindows1252AndSemicolonsAsAFrenchSpreadsheetWritesThem)
{
    const QByteArray file = tb::toCp1252(QStringLiteral("Civilité;Nom;Prénoms;Ville;Montant dû\r\n"
                                                        "Mme;HÉBERT;Cécile;Orléans;12,50\r\n"));
    const tb::CsvTable t = *tb::parseCsv(file);
    EXPECT_EQ(t.encoding, tb::CsvEncoding::Windows1252);
    EXPECT_EQ(tb::encodingName(t.encoding), "Windows-1252");
    EXPECT_EQ(t.separator, u';');
    ASSERT_EQ(t.rows.size(), 1);
    EXPECT_EQ(t.rows[0], QStringList({"Mme", "HÉBERT", "Cécile", "Orléans", "12,50"}));
    // The same file read as UTF-8 when the user says so.
    EXPECT_EQ(tb::parseCsv(file, tb::CsvEncoding::Utf8)->encoding, tb::CsvEncoding::Utf8);
}

TEST_F(CsvTest, ExportedFileImportsBackIntoTheSameRecords)
{
    const CardRecord c = card({{1, "1 1                    1"}, {2, "M."}, {3, "O'HARA, \"JR\""}, {4, "Seán"},
                               {7, "Saint-Étienne"}, {12, "12/03/1970"}, {19, "€"}});
    writeCards(base.path(), {c});
    auto db = tb::Database::open(base.path());
    ASSERT_TRUE(db);
    const QString path = program.file("fiches.csv");
    ASSERT_TRUE(tb::writeCsvFile(*db.value(), path, true));

    TempDatabase empty(program.path(), "Vide");
    auto to = tb::Database::open(empty.path());
    ASSERT_TRUE(to);
    const tb::CsvTable t = *tb::parseCsv(readBytes(path));
    const QStringList captions = tb::exchangeCaptions(to.value()->captions());
    QList<int> all;
    for (int k = 2; k <= 20; ++k)
        all << k;
    EXPECT_EQ(tb::matchColumns(t.header, captions), all);
    const auto report = tb::importContacts(*to.value(), tb::contactsFromCsv(t, all), {},
                                           tb::alwaysAnswer(tb::DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(readBytes(empty.file("lesfiches.dat")).mid(30), c.toBytes().mid(30));
}

}  // namespace
