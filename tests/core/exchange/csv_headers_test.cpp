// The columns address books write land in the card fields a user expects.
#include "core/base/codepage.h"
#include "core/exchange/csv.h"

#include <gtest/gtest.h>
#include <map>

namespace {

const QStringList kCaptions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société", "Observations"});

struct Read {
    std::vector<tb::Contact> contacts;
    QStringList notes;
};

Read readFile(const QByteArray& bytes)
{
    const tb::Result<tb::CsvTable> table = tb::readCsv(bytes, tb::guessEncoding(bytes), kCaptions);
    EXPECT_TRUE(table);
    if (!table)
        return {};
    Read read;
    read.contacts = tb::contactsFromCsv(*table, tb::matchColumns(table->header, kCaptions), &read.notes);
    return read;
}

using Fields = std::map<int, std::string>;

// Fields 2 to 20 that are not blank.
Fields filled(const tb::Contact& c)
{
    Fields out;
    for (int k = tb::kFieldCivility; k <= CardRecord::kFieldCount; ++k)
        if (!c.field(k).trimmed().isEmpty())
            out[k] = c.field(k).toStdString();
    return out;
}

TEST(CsvHeaders, EachExportersColumnsLandInTheirFields)
{
    struct Sample {
        const char* program;
        QByteArray file;
        Fields fields;
    };
    const std::vector<Sample> samples = {
        {"Outlook in French",
         QByteArray("\"Titre\",\"Prénom\",\"Deuxième prénom\",\"Nom\",\"Suffixe\",\"Société\",\"Service\",\"Fonction\","
              "\"Rue (bureau)\",\"Ville (bureau)\",\"Code postal (bureau)\",\"Pays/Région (bureau)\",\"Rue (domicile)\","
              "\"Rue (domicile) 2\",\"Ville (domicile)\",\"Code postal (domicile)\",\"Pays/Région (domicile)\","
              "\"Téléphone (bureau)\",\"Téléphone (domicile)\",\"Tél. mobile\",\"Anniversaire\","
              "\"Adresse de messagerie\",\"Type de messagerie\",\"Notes\",\"Priorité\",\"Privé\"\r\n"
              "\"Mme\",\"Anne\",\"Marie\",\"MARTIN\",\"\",\"Martin SARL\",\"\",\"Gérante\",\"5 quai Est\",\"Lyon\","
              "\"69002\",\"France\",\"3 rue des Lilas\",\"Bât. B\",\"Privas\",\"07000\",\"France\",\"04 72 00 00 00\","
              "\"04 75 11 22 33\",\"06 11 22 33 44\",\"12/03/1970\",\"anne@exemple.fr\",\"SMTP\",\"Cliente fidèle\","
              "\"Normale\",\"Faux\"\r\n"),
         {{2, "Mme"}, {3, "MARTIN"}, {4, "Anne Marie"}, {5, "3 rue des Lilas, Bât. B"}, {6, "07000"}, {7, "Privas"},
          {8, "04 75 11 22 33"}, {9, "06 11 22 33 44"}, {10, "anne@exemple.fr"}, {11, "Gérante"},
          {12, "12/03/1970"}, {13, "Martin SARL"}, {14, "Cliente fidèle"}}},
        {"Outlook in English",
         QByteArray("\"Title\",\"First Name\",\"Middle Name\",\"Last Name\",\"Company\",\"Job Title\",\"Business Street\","
              "\"Business City\",\"Business Postal Code\",\"Home Street\",\"Home City\",\"Home Postal Code\","
              "\"Home Phone\",\"Mobile Phone\",\"Birthday\",\"E-mail Address\",\"E-mail Display Name\",\"Notes\","
              "\"Sensitivity\"\r\n"
              "\"Mr.\",\"John\",\"\",\"SMITH\",\"\",\"Engineer\",\"1 Main St\",\"Dover\",\"19901\",\"\",\"\",\"\",\"\","
              "\"+1 302 555 0100\",\"0/0/00\",\"john@example.com\",\"John Smith (john@example.com)\",\"\","
              "\"Normal\"\r\n"), {{2, "Mr."}, {3, "SMITH"}, {4, "John"}, {5, "1 Main St"}, {6, "19901"}, {7, "Dover"},
          {9, "+1 302 555 0100"}, {10, "john@example.com"}, {11, "Engineer"}}},
        {"Outlook in German, Windows-1252", tb::toCp1252(QStringLiteral(
             "\"Anrede\";\"Vorname\";\"Weitere Vornamen\";\"Nachname\";\"Firma\";\"Position\";\"Straße privat\";"
             "\"Ort privat\";\"Postleitzahl privat\";\"Telefon privat\";\"Mobiltelefon\";\"E-Mail-Adresse\";"
             "\"Notizen\"\r\n"
             "\"Herr\";\"Jürgen\";\"\";\"Müller\";\"Müller GmbH\";\"Geschäftsführer\";\"Hauptstraße 1\";\"Köln\";"
             "\"50667\";\"0221 123456\";\"0170 1234567\";\"j@exemple.de\";\"Rappeler\"\r\n")),
         {{2, "Herr"}, {3, "Müller"}, {4, "Jürgen"}, {5, "Hauptstraße 1"}, {6, "50667"}, {7, "Köln"},
          {8, "0221 123456"}, {9, "0170 1234567"}, {10, "j@exemple.de"}, {11, "Geschäftsführer"},
          {13, "Müller GmbH"}, {14, "Rappeler"}}},
        {"Google Contacts, old",
         QByteArray("Name,Given Name,Additional Name,Family Name,Name Prefix,Birthday,Group Membership,E-mail 1 - Type,"
              "E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,Phone 2 - Value,Address 1 - Type,"
              "Address 1 - Formatted,Address 1 - Street,Address 1 - City,Address 1 - Postal Code,"
              "Organization 1 - Type,Organization 1 - Name,Organization 1 - Title\r\n"
              "Paul Roux,Paul,,Roux,M.,1980-05-02,* myContacts,* Home,paul@exemple.fr,* Mobile,06 12 34 56 78,"
              "Home,04 75 00 00 00,Home,\"2 place Haute\nPrivas 07000\",2 place Haute,Privas,07000,,Roux SA,"
              "Gérant\r\n"), {{2, "M."}, {3, "Roux"}, {4, "Paul"}, {5, "2 place Haute"}, {6, "07000"}, {7, "Privas"},
          {8, "04 75 00 00 00"}, {9, "06 12 34 56 78"}, {10, "paul@exemple.fr"}, {11, "Gérant"},
          {12, "02/05/1980"}, {13, "Roux SA"}}},
        {"Google Contacts, new",
         QByteArray("First Name,Middle Name,Last Name,Name Prefix,Organization Name,Organization Title,Birthday,Notes,"
              "E-mail 1 - Label,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value,Phone 2 - Label,Phone 2 - Value,"
              "Address 1 - Label,Address 1 - Street,Address 1 - City,Address 1 - Postal Code,Address 1 - Country\n"
              "Léa,,Petit,Mme,,,--04-12,Voisine,Home,lea@exemple.fr,Work,04 67 00 11 22,Mobile,06 98 76 54 32,"
              "Home,4 rue du Port,Sète,34200,France\n"),
         {{2, "Mme"}, {3, "Petit"}, {4, "Léa"}, {5, "4 rue du Port"}, {6, "34200"}, {7, "Sète"},
          {8, "04 67 00 11 22"}, {9, "06 98 76 54 32"}, {10, "lea@exemple.fr"}, {12, "12/04"}, {14, "Voisine"}}},
        {"Thunderbird in English",
         QByteArray("First Name,Last Name,Display Name,Primary Email,Work Phone,Home Phone,Mobile Number,Home Address,"
              "Home Address 2,Home City,Home ZipCode,Home Country,Work Address,Work City,Work ZipCode,Job Title,"
              "Organization,Birth Year,Birth Month,Birth Day,Notes,\r\n"
              "Marc,Blanc,Marc Blanc,marc@exemple.fr,01 40 00 00 00,01 45 00 00 00,06 55 44 33 22,8 avenue Foch,"
              "Esc. 2,Paris,75016,France,,,,Avocat,Cabinet Blanc,1975,7,14,,\r\n"),
         {{3, "Blanc"}, {4, "Marc"}, {5, "8 avenue Foch, Esc. 2"}, {6, "75016"}, {7, "Paris"},
          {8, "01 45 00 00 00"}, {9, "06 55 44 33 22"}, {10, "marc@exemple.fr"}, {11, "Avocat"},
          {12, "14/07/1975"}, {13, "Cabinet Blanc"}}},
        {"Thunderbird in French",
         QByteArray("Prénom,Nom de famille,Nom à afficher,Adresse électronique principale,Tél. professionnel,"
              "Tél. personnel,Portable,Adresse privée,Ville,Code postal,Pays/Région,Adresse professionnelle,Ville,"
              "Code postal,Pays/Région,Fonction,Société,Notes\r\n"
              "Léa,Petit,Léa Petit,lea@exemple.fr,04 99 00 00 00,0475112233,0611223344,12 rue Basse,Aubenas,07200,"
              "France,4 rue du Port,Sète,34200,France,,,\r\n"),
         {{3, "Petit"}, {4, "Léa"}, {5, "12 rue Basse"}, {6, "07200"}, {7, "Aubenas"}, {8, "0475112233"},
          {9, "0611223344"}, {10, "lea@exemple.fr"}}},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.program);
        const Read read = readFile(s.file);
        ASSERT_EQ(read.contacts.size(), 1u);
        EXPECT_EQ(filled(read.contacts[0]), s.fields);
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

TEST(CsvHeaders, HomeComesBeforeWorkAndWorkAloneIsReported)
{
    const Read read = readFile(
        QByteArray("Last Name,Business Street,Business City,Home Street,Home City,Phone 1 - Type,Phone 1 - Value,"
             "Phone 2 - Type,Phone 2 - Value\r\n"
             "BOTH,1 quai Est,Lyon,2 rue Basse,Privas,Work,04 72 00 00 00,Home,04 75 00 00 00\r\n"
             "WORK,1 quai Est,Lyon,,,Work,04 72 00 00 00 ::: 04 72 11 11 11,Cell,06 00 00 00 01\r\n"));
    ASSERT_EQ(read.contacts.size(), 2u);
    const tb::Contact& both = read.contacts[0];
    EXPECT_EQ(filled(both), (Fields{{3, "BOTH"}, {5, "2 rue Basse"}, {7, "Privas"}, {8, "04 75 00 00 00"}}));
    EXPECT_EQ(both.notKept, QStringList({"Business Street : 1 quai Est", "Business City : Lyon",
                                         "Phone 1 - Value : 04 72 00 00 00"}));
    const tb::Contact& work = read.contacts[1];
    EXPECT_EQ(filled(work), (Fields{{3, "WORK"}, {5, "1 quai Est"}, {7, "Lyon"},
                                                    {8, "04 72 00 00 00"}, {9, "06 00 00 00 01"}}));
    EXPECT_EQ(work.notKept, QStringList({"Phone 1 - Value : 04 72 11 11 11"}));
    EXPECT_TRUE(read.notes.contains("WORK : pas d'adresse personnelle, adresse professionnelle reprise"));
    EXPECT_FALSE(read.notes.join(u'\n').contains("BOTH"));
}

}  // namespace
