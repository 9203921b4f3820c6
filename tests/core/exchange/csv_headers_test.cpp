// The columns address books write land in the card fields a user expects.
// The files and what each gives are in samples/csv.
#include "core/base/codepage.h"
#include "core/exchange/csv.h"
#include "sample_files.h"

#include <gtest/gtest.h>

namespace {

const QStringList kCaptions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société", "Observations"});

TEST(CsvHeaders, EachExportersColumnsLandInTheirFieldsHomeBeforeWork)
{
    const QStringList names = exchange_samples::samples("csv", "*.csv");
    ASSERT_EQ(names.size(), 8);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = exchange_samples::sample(name);
        const tb::Result<tb::CsvTable> table = tb::readCsv(bytes, tb::guessEncoding(bytes), kCaptions);
        ASSERT_TRUE(table);
        QStringList notes;
        const auto contacts = tb::contactsFromCsv(*table, tb::matchColumns(table->header, kCaptions), &notes);
        EXPECT_EQ(exchange_samples::listing(contacts, notes), exchange_samples::expectedListing(name));
    }
}

TEST(CsvHeaders, AreComparedWithoutAccentsCaseBlanksOrPunctuation)
{
    const QStringList header = {"PRENOM", "nom de famille", "Code-Postal (Domicile)", "TEL MOBILE",
                                "e.mail address", "Societe", "JOBTITLE", "Straße-Privat", "Couleur préférée"};
    EXPECT_EQ(tb::matchColumns(header, kCaptions), QList<int>({4, 3, 6, 9, 10, 13, 11, 5, 0}));
    // Without a caption that names it, a company has no field and is reported.
    const QStringList plain = tb::exchangeCaptions({});
    EXPECT_EQ(tb::matchColumns({"Company", "Nom"}, plain), QList<int>({0, 3}));
    // A caption of the database counts as a common name does; a field is taken once.
    const QStringList again = {"NOM",        "prenom",  "E-mail", "Code postal", "Téléphone", "Mobile",
                               "profession", "Couleur", "Nom",    "N° de téléphone"};
    EXPECT_EQ(tb::matchColumns(again, tb::exchangeCaptions({"Profession"})), QList<int>({3, 4, 10, 6, 8, 9, 11, 0, 0, 0}));
}

}  // namespace
