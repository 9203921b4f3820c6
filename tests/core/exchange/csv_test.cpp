// CSV files: the export byte for byte, spreadsheets' files read back, address books' columns in
// their fields (samples/csv), and a file without headers read with the columns given.
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
    const QString path = program.file("fiches.csv");
};

TEST_F(CsvTest, ExportWritesAUtf8HeaderOfCaptionsAndQuotesOnlyWhatNeedsIt)
{
    writeCards(base.path(), {card({{1, "1 1                    1"}, {3, "DUPONT"}, {4, "Éric"}, {5, "3, rue \"Haute\""},
                                   {6, "01000"}, {20, "dernier"}}),
                             card({{1, "0 1                    1"}, {3, "ARCHIVE"}})});
    auto db = std::move(tb::Database::open(base.path()).value());
    const auto written = tb::writeCsvFile(*db, path, false);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, 1);
    EXPECT_EQ(readBytes(path), exchange_samples::sample("export/une_fiche.csv"));
}

TEST_F(CsvTest, ExportedFileImportsBackIntoTheSameRecords)
{
    const CardRecord c = card({{1, "1 1                    1"}, {2, "M."}, {3, "O'HARA, \"JR\""}, {4, "Seán"},
                               {7, "Saint-Étienne"}, {12, "12/03/1970"}, {19, "€"}});
    writeCards(base.path(), {c});
    ASSERT_TRUE(tb::writeCsvFile(*tb::Database::open(base.path()).value(), path, true));

    TempDatabase empty(program.path(), "Vide");
    auto to = std::move(tb::Database::open(empty.path()).value());
    const tb::CsvTable t = *tb::parseCsv(readBytes(path));
    QList<int> all;
    for (int k = 2; k <= 20; ++k)
        all << k;
    EXPECT_EQ(tb::matchColumns(t.header, tb::exchangeCaptions(to->captions())), all);
    const auto report =
        tb::importContacts(*to, tb::contactsFromCsv(t, all), {}, tb::alwaysAnswer(tb::DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(readBytes(empty.file("lesfiches.dat")).mid(30), c.toBytes().mid(30));
}

TEST(CsvParse, ReadsQuotesLineBreaksInsideFieldsByteOrderMarkEmptyLastValuesAndGuessesTheCodePageAndSeparator)
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
    EXPECT_EQ(tb::contactsFromCsv(t, {3, 4, 5})[0].field(5), "12 rue Haute Bâtiment A");

    // Windows-1252 and semicolons, as a French spreadsheet writes them.
    const tb::CsvTable french = *tb::parseCsv(tb::toCp1252(QStringLiteral("Civilité;Nom;Prénoms;Ville;Montant dû\r\n"
                                                                          "Mme;HÉBERT;Cécile;Orléans;12,50\r\n")));
    EXPECT_EQ(french.encoding, tb::CsvEncoding::Windows1252);
    EXPECT_EQ(tb::encodingName(french.encoding), "Windows-1252");
    EXPECT_EQ(french.separator, u';');
    EXPECT_EQ(french.rows, QList<QStringList>{QStringList({"Mme", "HÉBERT", "Cécile", "Orléans", "12,50"})});
}

const QStringList kDefaultCaptions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société", "Observations"});

TEST(CsvHeaders, EachExportersColumnsLandInTheirFieldsHomeBeforeWorkWhateverAccentsCaseOrPunctuation)
{
    const QStringList names = exchange_samples::samples("csv", "*.csv");
    ASSERT_EQ(names.size(), 8);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = exchange_samples::sample(name);
        const tb::Result<tb::CsvTable> table = tb::readCsv(bytes, tb::guessEncoding(bytes), kDefaultCaptions);
        ASSERT_TRUE(table);
        QStringList notes;
        const auto contacts = tb::contactsFromCsv(*table, tb::matchColumns(table->header, kDefaultCaptions), &notes);
        EXPECT_EQ(exchange_samples::listing(contacts, notes), exchange_samples::expectedListing(name));
    }

    // Headers are compared without accents, case, blanks or punctuation.
    const QStringList header = {"PRENOM", "nom de famille", "Code-Postal (Domicile)", "TEL MOBILE",
                                "e.mail address", "Societe", "JOBTITLE", "Straße-Privat", "Couleur préférée"};
    EXPECT_EQ(tb::matchColumns(header, kDefaultCaptions), QList<int>({4, 3, 6, 9, 10, 13, 11, 5, 0}));
    // Without a caption that names it, a company has no field and is reported.
    const QStringList plain = tb::exchangeCaptions({});
    EXPECT_EQ(tb::matchColumns({"Company", "Nom"}, plain), QList<int>({0, 3}));
    // A caption of the database counts as a common name does; a field is taken once.
    const QStringList again = {"NOM",        "prenom",  "E-mail", "Code postal", "Téléphone", "Mobile",
                               "profession", "Couleur", "Nom",    "N° de téléphone"};
    EXPECT_EQ(tb::matchColumns(again, tb::exchangeCaptions({"Profession"})), QList<int>({3, 4, 10, 6, 8, 9, 11, 0, 0, 0}));
}

const QStringList kCaptions = tb::exchangeCaptions({"Profession"});
const QByteArray kNoHeader = "jean@exemple.fr;DUPONT;06 12 34 56 78;Lyon\r\n"
                             "marie@exemple.fr;MARTIN;0475000000\r\n";

TEST(CsvDataFirst, AFirstRowWithAnAddressOrPhoneIsTheFirstContactReadWithTheColumnsGiven)
{
    const tb::Result<tb::CsvTable> table = tb::readCsv(kNoHeader, tb::CsvEncoding::Utf8, kCaptions);
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->headerIsData);
    EXPECT_EQ(table->header, QStringList({"Colonne 1", "Colonne 2", "Colonne 3", "Colonne 4"}));
    ASSERT_EQ(table->rows.size(), 2);
    EXPECT_EQ(table->rows[0].value(1), "DUPONT");
    // A known header, or an unknown one without addresses or phones, stays a header.
    for (const QByteArray& file :
         {QByteArray("Nom,Portable\nDUPONT,06 12 34 56 78\n"), QByteArray("Couleur,Taille\nbleu,M\n")}) {
        const tb::Result<tb::CsvTable> t = tb::readCsv(file, tb::CsvEncoding::Utf8, kCaptions);
        ASSERT_TRUE(t);
        EXPECT_FALSE(t->headerIsData);
        EXPECT_EQ(t->rows.size(), 1);
    }

    // Columns given as field=column fill every row, or the file is refused naming its columns.
    QStringList notes;
    const auto contacts = tb::csvContacts(kNoHeader, kCaptions, "10=1, 3=2,9=3", &notes);
    ASSERT_TRUE(contacts) << contacts.error().message().toStdString();
    ASSERT_EQ(contacts->size(), 2u);
    const tb::Contact& jean = (*contacts)[0];
    EXPECT_EQ(jean.field(tb::kFieldEmail), "jean@exemple.fr");
    EXPECT_EQ(jean.field(tb::kFieldSurname), "DUPONT");
    EXPECT_EQ(jean.field(tb::kFieldMobile), "06 12 34 56 78");
    EXPECT_EQ(jean.notKept, QStringList({"Colonne 4 : Lyon"}));
    EXPECT_EQ((*contacts)[1].field(tb::kFieldSurname), "MARTIN");
    EXPECT_EQ(notes.value(0), "Fichier CSV en UTF-8, séparateur « ; », sans ligne d'intitulés");

    // What the user gives wrong is refused with what is wrong; without
    // columns, a file with no known header is refused naming its columns.
    const QStringList wrong = QString::fromUtf8(exchange_samples::sample("colonnes_refusees.txt")).split(u'\n');
    ASSERT_EQ(wrong.size(), 8);  // the last one empty
    for (const QString& line : wrong.mid(0, 7)) {
        const auto refused = tb::csvContacts(kNoHeader, kCaptions, line.section(u'\t', 0, 0), nullptr);
        ASSERT_FALSE(refused) << line.toStdString();
        EXPECT_EQ(refused.error().message(), line.section(u'\t', 1));
    }
}

}  // namespace
