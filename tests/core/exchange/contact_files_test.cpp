// vCards and CSV files: the exports as address books read them and back into the same records; what each writer's
// files give as contacts (samples/vcard, samples/csv).
#include "core/base/codepage.h"
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/csv.h"
#include "core/exchange/vcard.h"
#include "core/exchange/vcard_merge.h"
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
    // Nothing but the names for a bare card: no empty ADR, TEL or NOTE.
    const QByteArray written =
        tb::vCardOf(c, kCaptions, QByteArray("\x89PNG\r\n", 6)) + tb::vCardOf(card({{3, "MARTIN"}}), kCaptions, {});
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(exchange_samples::sample("export/deux_fiches.vcf")));
}

TEST(VCardRoundTrip, ExportThenImportIntoAnEmptyDatabaseGivesTheSameRecordsAndPhotos)
{
    TempProgramFolder program;
    TempDatabase source(program.path(), "Source");
    // Ten records: letters beyond ASCII and texts to escape, an archived card, a card without surname, one with an
    // e-mail alone, the properties address books show (fields 11 to 15 are captioned "Profession", "Date de naissance",
    // "Société", "Observations", "Montant dû" in a new database) and texts they would not give back, a blank marker,
    // and the same person twice, once in small letters: both are cards.
    const QByteArray before = exchange_samples::sample("export/aller_retour.dat");
    const qsizetype cards = before.size() / 630;
    ASSERT_EQ(cards, 10);
    writeBytes(source.file("lesfiches.dat"), before);
    writeBytes(source.file("NBFiches.dat"), QByteArray::number(cards) + "\r\n");
    const QByteArray photo = picture("JPG");
    writeBytes(source.file("photo2.JPG"), photo);

    auto from = std::move(tb::Database::open(source.path()).value());
    const QString vcf = program.file("cartes.vcf");
    const auto written = tb::writeVCardFile(*from, vcf, true);
    ASSERT_TRUE(written) << written.error().message().toStdString();
    EXPECT_EQ(*written, cards);

    TempDatabase empty(program.path(), "Vide");
    auto to = std::move(tb::Database::open(empty.path()).value());
    const tb::VCardReading reading = tb::readVCardPath(vcf, tb::exchangeCaptions(to->captions()));
    ASSERT_FALSE(reading.error);
    const tb::ImportReport report =
        tb::importContacts(*to, reading.contacts, {}, tb::alwaysAnswer(tb::DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(report.created, cards) << report.notes.join(u'\n').toStdString();
    const QByteArray after = readBytes(empty.file("lesfiches.dat"));
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype n = 0; n < cards; ++n)
        EXPECT_EQ(QString::fromLatin1(after.mid(n * 630, 630)), QString::fromLatin1(before.mid(n * 630, 630)))
            << "card " << n + 1;
    EXPECT_EQ(readBytes(empty.file("photo2.jpg")), photo);

    // A missing folder is told (the active cards alone: the export's digests).
    const auto missing = tb::writeVCardFile(*from, program.file("nulle/part.vcf"), true);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, tb::kErrorPathNotFound);
}

TEST(VCardContacts, EachWriterFormGivesTheFieldsTheContactHolds)
{
    // Profession 11, Date de naissance 12, Société 13, Observations 14, Montant dû 15.
    const QStringList captions = tb::exchangeCaptions({"Profession", "Date de naissance", "Société", "Observations",
                                                       "Montant dû"});
    const QStringList names = exchange_samples::samples("vcard", "*.vcf");
    ASSERT_EQ(names.size(), 17);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const tb::VCardReading reading =
            tb::readVCardFile(exchange_samples::sample(name), name.contains("sans_observations") ? kCaptions : captions);
        ASSERT_FALSE(reading.error);
        EXPECT_EQ(exchange_samples::listing(reading.contacts, reading.notes), exchange_samples::expectedListing(name));
    }
    const tb::VCardReading none = tb::readVCardFile("Nom;Prénom\nDupont;Jean\n", captions);
    ASSERT_TRUE(none.error);
    EXPECT_EQ(none.error->message(), " Ce fichier ne contient aucune fiche vCard lisible (pas de ligne BEGIN:VCARD).");
}

// The vCard a card is uploaded as: a phone's own lines kept byte for byte, Tabulon's properties in their place; and the
// digest that tells whether a card changed since it was sent.

// As a phone writes a contact (RFC 6350 and 2426 forms): three numbers, the
// mobile named by its group's label, a work and a home address, folded lines.
const QByteArray kPhone =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "PRODID:-//Telephone de la camionnette//FR\r\n"
    "UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\r\n"
    "N:Durand;Hélène;;Mme;\r\n"
    "FN:Hélène Durand\r\n"
    "ORG:Fleurs du Sud\r\n"
    "TEL;TYPE=WORK,VOICE:+33 5 56 11 11 11\r\n"
    "TEL;TYPE=HOME,VOICE;TYPE=PREF:+33 5 56 00 00 00\r\n"
    "item1.TEL:+33 6 12 34 56 78\r\n"
    "item1.X-ABLABEL:Mobile\r\n"
    "ADR;TYPE=WORK:;;Zone artisanale\\, lot 4;Mérignac;;33700;France\r\n"
    "ADR;TYPE=HOME:;;3 rue de la Gare;Bordeaux;;33000;France\r\n"
    "EMAIL;TYPE=INTERNET:helene@example.fr\r\n"
    "URL:https://fleurs.example.fr/boutique/helene-durand/horaires-et-acces-au-ma\r\n"
    " gasin\r\n"
    "X-PHONE-RINGTONE:clochettes\r\n"
    "NOTE:Livraison le mardi\\, pas avant 9h. Demander la porte de derrière\\, ce\r\n"
    " lle du garage.\r\n"
    "END:VCARD\r\n";

const std::map<int, QString> kOurFields = {
    {2, "Mme"},      {3, "DURAND"},         {4, "Hélène"},         {5, "12 avenue Thiers"},
    {6, "33100"},    {7, "Bordeaux"},       {8, "05 56 99 99 99"}, {9, "06 98 76 54 32"},
    {10, "h.durand@example.fr"}, {11, "Fleuriste"}, {13, "Fleurs du Sud SARL"}};

CardRecord ourCard() { return card(kOurFields); }

TEST(VCardMerge, KeepsAPhonesOtherLinesByteForByteAndPutsOursWhereTheReadingFindsThem)
{
    const QByteArray ours = tb::vCardOf(ourCard(), kCaptions, {});
    const QString uid = tb::vCardUid(kPhone);
    EXPECT_EQ(uid, "urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1");
    // The database has no notes field: the phone's NOTE is not ours.
    const QByteArray merged = tb::mergedVCard(ours, kPhone, uid, kCaptions);
    EXPECT_EQ(QString::fromUtf8(merged),
              QString::fromUtf8("BEGIN:VCARD\r\n"
                                "VERSION:3.0\r\n"
                                "PRODID:-//Telephone de la camionnette//FR\r\n"
                                "UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\r\n"
                                "N:DURAND;Hélène;;Mme;\r\n"
                                "FN:Hélène DURAND\r\n"
                                "ORG:Fleurs du Sud SARL\r\n"
                                "TEL;TYPE=WORK,VOICE:+33 5 56 11 11 11\r\n"
                                "TEL;TYPE=VOICE,HOME,PREF:05 56 99 99 99\r\n"
                                "item1.TEL;TYPE=CELL:06 98 76 54 32\r\n"
                                "item1.X-ABLABEL:Mobile\r\n"
                                "ADR;TYPE=WORK:;;Zone artisanale\\, lot 4;Mérignac;;33700;France\r\n"
                                "ADR;TYPE=HOME:;;12 avenue Thiers;Bordeaux;;33100;France\r\n"
                                "EMAIL;TYPE=INTERNET:h.durand@example.fr\r\n")
                  + QString::fromUtf8(kPhone.mid(kPhone.indexOf("URL:"), kPhone.indexOf("END:") - kPhone.indexOf("URL:")))
                  + "TITLE:Fleuriste\r\nX-TABULON-PIN:;0;0\r\nEND:VCARD\r\n");
    // Read back, it gives our card's fields, the phone's others aside.
    const std::vector<tb::Contact> read = tb::readVCards(merged, kCaptions);
    ASSERT_EQ(read.size(), 1u);
    for (const auto& [k, text] : kOurFields)
        EXPECT_EQ(read[0].field(k), text) << k;
    // A value not changed here keeps the phone's own line.
    const QByteArray sameMobile = QByteArray(kPhone).replace("+33 6 12 34 56 78", "06 98 76 54 32");
    EXPECT_TRUE(tb::mergedVCard(ours, sameMobile, uid, kCaptions).contains("\r\nitem1.TEL:06 98 76 54 32\r\n"));
    // Every owned property is ours when the database has every field; a vCard
    // without UID receives it after its version, in its own line ends.
    const QByteArray bare = QByteArray(kPhone).replace("\r\n", "\n").replace("UID:urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1\n", "");
    const QByteArray all = tb::mergedVCard(ours, bare, "u-1");
    EXPECT_TRUE(all.startsWith("BEGIN:VCARD\nVERSION:3.0\nUID:u-1\nPRODID:")) << all.constData();
    EXPECT_FALSE(all.contains("NOTE") || all.contains('\r')) << all.constData();
    EXPECT_TRUE(all.contains("\nX-PHONE-RINGTONE:clochettes\nTITLE:Fleuriste\nX-TABULON-PIN:;0;0\nEND:VCARD\n"));
    // Nothing fetched yet: ours under the UID.
    EXPECT_EQ(tb::mergedVCard(ours, {}, "u-2"), QByteArray(ours).insert(ours.indexOf("\r\nN:") + 2, "UID:u-2\r\n"));
    EXPECT_EQ(tb::vCardUid(tb::mergedVCard(ours, {}, "u-2")), "u-2");
    EXPECT_NE(tb::newCardUid(), tb::newCardUid());
}

TEST(VCardDigest, FollowsTheOwnedPropertiesAndThePhotoOnly)
{
    const QByteArray photo = picture("PNG");
    const QByteArray ours = tb::vCardOf(ourCard(), kCaptions, photo);
    const QByteArray digest = tb::vCardDigest(ours, kCaptions);
    EXPECT_EQ(digest.size(), 64);
    EXPECT_EQ(tb::vCardDigest(ours), digest);
    // The vCard sent: the phone's lines beside ours, refolded, other line ends.
    QByteArray sent = tb::mergedVCard(ours, QByteArray(kPhone).replace("NOTE:", "X-NOTE:"), "u", kCaptions);
    EXPECT_EQ(tb::vCardDigest(sent, kCaptions), digest);
    sent.replace("\r\n ", "").replace("\r\n", "\n").replace("clochettes", "carillon");
    EXPECT_EQ(tb::vCardDigest(sent, kCaptions), digest);
    // An owned change, or another photo, or none.
    CardRecord changed = ourCard();
    changed.field(tb::kFieldMobile) = "06 98 76 54 33";
    EXPECT_NE(tb::vCardDigest(tb::vCardOf(changed, kCaptions, photo), kCaptions), digest);
    EXPECT_NE(tb::vCardDigest(tb::vCardOf(ourCard(), kCaptions, picture("PNG", Qt::blue)), kCaptions), digest);
    EXPECT_NE(tb::vCardDigest(tb::vCardOf(ourCard(), kCaptions, {}), kCaptions), digest);
}

// CSV files: the export byte for byte, spreadsheets' files read back, address books' columns in
// their fields (samples/csv), and a file without headers read with the columns given.
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

const QStringList kProfession = tb::exchangeCaptions({"Profession"});
const QByteArray kNoHeader = "jean@exemple.fr;DUPONT;06 12 34 56 78;Lyon\r\n"
                             "marie@exemple.fr;MARTIN;0475000000\r\n";

TEST(CsvDataFirst, AFirstRowWithAnAddressOrPhoneIsTheFirstContactReadWithTheColumnsGiven)
{
    const tb::Result<tb::CsvTable> table = tb::readCsv(kNoHeader, tb::CsvEncoding::Utf8, kProfession);
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->headerIsData);
    EXPECT_EQ(table->header, QStringList({"Colonne 1", "Colonne 2", "Colonne 3", "Colonne 4"}));
    ASSERT_EQ(table->rows.size(), 2);
    EXPECT_EQ(table->rows[0].value(1), "DUPONT");
    // A known header, or an unknown one without addresses or phones, stays a header.
    for (const QByteArray& file :
         {QByteArray("Nom,Portable\nDUPONT,06 12 34 56 78\n"), QByteArray("Couleur,Taille\nbleu,M\n")}) {
        const tb::Result<tb::CsvTable> t = tb::readCsv(file, tb::CsvEncoding::Utf8, kProfession);
        ASSERT_TRUE(t);
        EXPECT_FALSE(t->headerIsData);
        EXPECT_EQ(t->rows.size(), 1);
    }

    // Columns given as field=column fill every row, or the file is refused naming its columns.
    QStringList notes;
    const auto contacts = tb::csvContacts(kNoHeader, kProfession, "10=1, 3=2,9=3", &notes);
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
        const auto refused = tb::csvContacts(kNoHeader, kProfession, line.section(u'\t', 0, 0), nullptr);
        ASSERT_FALSE(refused) << line.toStdString();
        EXPECT_EQ(refused.error().message(), line.section(u'\t', 1));
    }
}

}  // namespace
