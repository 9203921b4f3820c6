// A CSV file without a header row is read as data, its columns given by the user.
#include "core/exchange/csv.h"

#include <gtest/gtest.h>

namespace {

const QStringList kCaptions = tb::exchangeCaptions({"Profession"});

const QByteArray kNoHeader = "jean@exemple.fr;DUPONT;06 12 34 56 78;Lyon\r\n"
                             "marie@exemple.fr;MARTIN;0475000000\r\n";

TEST(CsvDataFirst, AFirstRowWithAnAddressOrPhoneIsTheFirstContact)
{
    const tb::Result<tb::CsvTable> table = tb::readCsv(kNoHeader, tb::CsvEncoding::Utf8, kCaptions);
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->headerIsData);
    EXPECT_EQ(table->header, QStringList({"Colonne 1", "Colonne 2", "Colonne 3", "Colonne 4"}));
    ASSERT_EQ(table->rows.size(), 2);
    EXPECT_EQ(table->rows[0].value(1), "DUPONT");

    // A known header, or an unknown one without addresses or phones, stays a header.
    for (const QByteArray& file : {QByteArray("Nom,Portable\nDUPONT,06 12 34 56 78\n"),
                                   QByteArray("Couleur,Taille\nbleu,M\n")}) {
        const tb::Result<tb::CsvTable> t = tb::readCsv(file, tb::CsvEncoding::Utf8, kCaptions);
        ASSERT_TRUE(t);
        EXPECT_FALSE(t->headerIsData);
        EXPECT_EQ(t->rows.size(), 1);
    }
}

TEST(CsvDataFirst, ColumnsGivenAsFieldEqualsColumnFillEveryRow)
{
    QStringList notes;
    const tb::Result<std::vector<tb::Contact>> contacts =
        tb::csvContacts(kNoHeader, kCaptions, "10=1, 3=2,9=3", &notes);
    ASSERT_TRUE(contacts) << contacts.error().message().toStdString();
    ASSERT_EQ(contacts->size(), 2u);
    const tb::Contact& jean = (*contacts)[0];
    EXPECT_EQ(jean.field(tb::kFieldEmail), "jean@exemple.fr");
    EXPECT_EQ(jean.field(tb::kFieldSurname), "DUPONT");
    EXPECT_EQ(jean.field(tb::kFieldMobile), "06 12 34 56 78");
    EXPECT_EQ(jean.notKept, QStringList({"Colonne 4 : Lyon"}));
    EXPECT_EQ((*contacts)[1].field(tb::kFieldSurname), "MARTIN");
    EXPECT_EQ(notes.value(0), "Fichier CSV en UTF-8, séparateur « ; », sans ligne d'intitulés");

    // What the user gives wrong is refused with what is wrong.
    const std::vector<std::pair<QString, QString>> wrong = {
        {"3=5", "--columns : pas de colonne 5 (le fichier en a 4)"},
        {"21=1", "--columns : pas de champ 21 (champs 2 à 20)"},
        {"1=1", "--columns : pas de champ 1 (champs 2 à 20)"},
        {"3=1,3=2", "--columns : le champ 3 est donné deux fois"},
        {"nom=2", "--columns : « nom=2 » n'est pas de la forme CHAMP=COLONNE"},
        {",", "--columns : aucune colonne donnée"},
    };
    for (const auto& [given, message] : wrong) {
        const auto refused = tb::csvContacts(kNoHeader, kCaptions, given, nullptr);
        ASSERT_FALSE(refused) << given.toStdString();
        EXPECT_EQ(refused.error().message(), message);
    }
}

TEST(CsvDataFirst, WithoutKnownHeaderOrColumnsTheFileIsRefusedNamingItsColumns)
{
    const auto refused = tb::csvContacts(kNoHeader, kCaptions, QString(), nullptr);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message(),
              QStringLiteral("Aucune colonne du fichier n'a un intitulé connu ; colonnes lues : 1 « jean@exemple.fr », "
                             "2 « DUPONT », 3 « 06 12 34 56 78 », 4 « Lyon ». Indiquez le champ de chaque colonne avec "
                             "--columns CHAMP=COLONNE,... (champs de 2 à 20, colonnes à partir de 1)."));
    const auto unknown = tb::csvContacts("Couleur,Taille\nbleu,M\n", kCaptions, QString(), nullptr);
    ASSERT_FALSE(unknown);
    EXPECT_TRUE(unknown.error().message().contains("colonnes lues : 1 « Couleur », 2 « Taille »."));
}

}  // namespace
