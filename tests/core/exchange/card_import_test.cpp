// Contacts becoming cards: letters, widths, postal codes, pins, roles, duplicates and the answers to them, contacts
// with nothing for a card, photos, batches, the automatic backup, failures; outside files past their limits.
#include "core/base/codepage.h"
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/db/demo_database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/csv.h"
#include "core/exchange/vcard.h"
#include "exchange_samples.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;
using exchange_samples::card;
using exchange_samples::contact;
using exchange_samples::picture;
using tb::DuplicateChoice;

namespace {

const QStringList kCaptions = tb::exchangeCaptions({});

TEST(ContactToCard, WritesMissingLettersAsTheirNearestCutsToWidthsAndListsEachChange)
{
    tb::Contact c = contact({{3, "Wałęsa"}, {4, "Łukasz 😀"}, {5, "Rue du Général de Gaulle prolongée, bâtiment C"},
                             {8, "+33 (0)1 23 45 67 89"}, {9, "+33 6 12 34 56 78"}, {6, "59000"}});
    c.notKept << QStringLiteral("autre portable : 07 00");
    QStringList notes;
    const CardRecord r = cardOfContact(c, kCaptions, {}, 3, 0, &notes);
    EXPECT_EQ(r.field(3), tb::padField("Walesa", 15));
    EXPECT_EQ(r.field(4), tb::padField("Lukasz ?", 15));
    EXPECT_EQ(r.field(5), "Rue du Général de Gaulle prolongée, bâti");
    EXPECT_EQ(r.field(8), tb::padField("01 23 45 67 89", 15));
    EXPECT_EQ(r.field(9), tb::padField("06 12 34 56 78", 15));
    EXPECT_EQ(r.marker(), 3);
    EXPECT_EQ(notes, QStringList({"Wałęsa Łukasz 😀 : « Wałęsa » écrit « Walesa »",
                                  "Wałęsa Łukasz 😀 : « Łukasz 😀 » écrit « Lukasz ? »",
                                  "Wałęsa Łukasz 😀 : « Rue » coupé à 40 caractères, perdu : « ment C »",
                                  "Wałęsa Łukasz 😀 : non repris, autre portable : 07 00"}));
}

TEST(ContactToCard, FourDigitPostalCodesGainTheirZeroInFranceOrWithoutCountry)
{
    const auto code = [](const QString& postal, const QString& country, QStringList* notes = nullptr) {
        return tb::cardOfContact(contact({{3, "A"}, {6, postal}}, country), kCaptions, {}, 1, 0, notes).field(6);
    };
    QStringList notes;
    EXPECT_EQ(code("7190", {}, &notes), "07190");
    EXPECT_EQ(notes, QStringList("A : code postal « 7190 » lu « 07190 »"));
    EXPECT_EQ(code(" 1000 ", "France"), "01000");
    EXPECT_EQ(code("1000", "Belgique"), "1000 ");
    EXPECT_EQ(code("719", {}), "719  ");
    // The pin then lands in the mended department.
    const CardRecord c = tb::cardOfContact(contact({{6, "7190"}}), kCaptions, {}, 1, 0, nullptr);
    EXPECT_EQ(QPointF(c.x(), c.y()), tb::departmentPoint("07190", 0));
}

TEST(ContactToCard, PinsGoNearTheirDepartmentAtTheClickedPointOrWhereOurOwnExportHadThem)
{
    for (const auto& [code, department] :
         std::vector<std::pair<QString, int>>{{"33000", 33}, {"2A004", 20}, {"20200", 20}, {"75008", 75}, {"01000", 1}}) {
        const tb::DepartmentSpot* spot = tb::departmentSpot(department);
        ASSERT_TRUE(spot);
        for (long long i : {0, 1, 17, 63, 64, 1000}) {
            bool found = false;
            const QPointF p = tb::departmentPoint(code, i, &found);
            EXPECT_TRUE(found);
            EXPECT_LE(std::hypot(p.x() - spot->x, p.y() - spot->y), spot->radius + 1.0) << code.toStdString();
        }
    }
    // Two cards of one department do not share a pin.
    EXPECT_NE(tb::departmentPoint("33000", 0), tb::departmentPoint("33000", 1));
    QStringList notes;
    const CardRecord overseas = cardOfContact(contact({{6, "97400"}}), kCaptions, {}, 1, 0, &notes);
    EXPECT_EQ(QPointF(overseas.x(), overseas.y()), QPointF(50, 380));
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("« 97400 »"));
    const CardRecord clicked = cardOfContact(contact({{6, "33000"}}), kCaptions, {false, QPointF(12, 34)}, 1, 5, nullptr);
    EXPECT_EQ(QPointF(clicked.x(), clicked.y()), QPointF(12, 34));

    // Our own export's pin comes back with its marker; a blank or 0 marker is an archived card.
    tb::Contact c = contact({{3, "A"}, {6, "33000"}});
    c.pin = tb::ContactPin{u'7', 250, 300.5};
    const CardRecord placed = tb::cardOfContact(c, kCaptions, {}, 1, 0, nullptr);
    EXPECT_EQ(placed.marker(), 7);
    EXPECT_EQ(QPointF(placed.x(), placed.y()), QPointF(250, 300.5));
    for (const QChar marker : {u' ', u'0'}) {
        c.pin = tb::ContactPin{marker, 10, 20};
        EXPECT_FALSE(tb::cardOfContact(c, kCaptions, {}, 1, 0, nullptr).isActive());
    }
}

TEST(DuplicateKeys, NamesWithoutAccentsCaseOrBlanksEMailsWithoutCaseAndMobilesByTheirFrenchDigits)
{
    const auto key = [](const QString& surname, const QString& first, const QString& code) {
        return tb::duplicateKey(card({{3, surname}, {4, first}, {6, code}}));
    };
    EXPECT_EQ(key("HÉBERT", "Cécile  Anne", "45000"), key("hebert", " cecile anne", "45000"));
    EXPECT_NE(key("HEBERT", "Cecile", "45000"), key("HEBERT", "Cecile", "45100"));
    EXPECT_TRUE(key(QString(), QString(), "45000").isEmpty());
    // Within the field's 15 letters, as the import fits them.
    const auto mobile = [](const QString& number) { return tb::mobileKey(card({{9, number}})); };
    for (const QString& same : QStringList{"06.12.34.56.78", "+33 612345678", "+33(0)612345678", "0033 612345678"})
        EXPECT_EQ(mobile(same), "0612345678") << same.toStdString();
    EXPECT_EQ(mobile("+32 470123456"), "32470123456");
    EXPECT_TRUE(mobile("0600").isEmpty());
    EXPECT_EQ(tb::emailKey(card({{10, " Marie@Example.FR"}})), "marie@example.fr");
    EXPECT_TRUE(tb::emailKey(card({{3, "A"}})).isEmpty());
}

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeCards(base.path(), {card({{1, "1 1                    1"}, {3, "HÉBERT"}, {4, "Cécile"}, {6, "45000"},
                                       {8, "02 38 00 00 00"}})});
        db = std::move(tb::Database::open(base.path()).value());
    }
    QStringList photos() const { return QDir(base.path()).entryList({"photo*"}, QDir::Files); }
    TempProgramFolder program;
    TempDatabase base{program.path()};
    std::unique_ptr<tb::Database> db;
    // Two contacts matching card 1, one new.
    std::vector<tb::Contact> contacts = {
        contact({{3, "Hebert"}, {4, "cecile"}, {6, "45000"}, {8, "09 99 99 99 99"}, {10, "cecile@example.fr"}}),
        contact({{3, "NOUVEAU"}, {6, "45000"}}), contact({{3, "hébert"}, {4, "Cécile"}, {6, "45000"}, {11, "Notaire"}}),
    };
};

TEST_F(ImportTest, EachAnswerToADuplicateSkipsCreatesOrFillsAndTheReportSaysIt)
{
    const QString same = QStringLiteral("(même nom, mêmes prénoms et même code postal)");
    const auto skip = tb::importContacts(*db, contacts, {}, tb::alwaysAnswer(DuplicateChoice::Skip));
    ASSERT_FALSE(skip.error);
    EXPECT_EQ(db->count(), 2);
    EXPECT_EQ(skip.summary(), "1 fiche(s) créée(s), 0 complétée(s), 2 ignorée(s).");
    EXPECT_TRUE(skip.notes.contains("Hebert cecile : déjà dans la fiche n° 1 " + same + ", ignorée"));
    // Nothing else is listed of a skipped contact: its pin, cuts or letters do not matter.
    tb::Contact far = contacts[0];
    far.field(5) = QString(50, u'x');
    EXPECT_EQ(tb::importContacts(*db, {far}, {}, tb::alwaysAnswer(DuplicateChoice::Skip)).notes,
              QStringList{"Hebert cecile : déjà dans la fiche n° 1 " + same + ", ignorée"});

    db.reset();
    SetUp();
    ASSERT_TRUE(db->search("nouveau"));  // the search box's index, read before
    const auto create = tb::importContacts(*db, contacts, {}, tb::alwaysAnswer(DuplicateChoice::Create));
    ASSERT_FALSE(create.error);
    const auto found = db->search(QStringLiteral("nouveau"));
    ASSERT_TRUE(found && found->list.size() == 1);
    EXPECT_EQ(found->list.number(0), 3);
    EXPECT_EQ(create.created, 3);
    EXPECT_EQ(db->count(), 4);
    EXPECT_EQ(db->card(4)->field(3).trimmed(), "HÉBERT");
    EXPECT_TRUE(create.notes.contains("hébert Cécile : créée bien que déjà dans la fiche n° 1 " + same));

    db.reset();
    SetUp();
    const auto fill = tb::importContacts(*db, contacts, {}, tb::alwaysAnswer(DuplicateChoice::Fill));
    ASSERT_FALSE(fill.error);
    EXPECT_EQ(fill.filled, 2);
    EXPECT_EQ(fill.created, 1);
    const CardRecord c = *db->card(1);
    EXPECT_EQ(c.field(3).trimmed(), "HÉBERT");
    EXPECT_EQ(c.field(8).trimmed(), "02 38 00 00 00");  // kept
    EXPECT_EQ(c.field(10).trimmed(), "cecile@example.fr");
    EXPECT_EQ(c.field(11).trimmed(), "Notaire");
    EXPECT_EQ(c.x(), 1);  // the pin stays
}

TEST_F(ImportTest, EachRuleNamesTheCardItMatchedRepeatsInTheFileAreEachCreatedAndAnAnswerForAllIsAskedOnce)
{
    db.reset();
    writeCards(base.path(), {card({{1, "1 1                    1"}, {3, "DURAND"}, {4, "Marie"}, {6, "17000"}}),
                             card({{1, "1 1                    1"}, {3, "ROY"}, {9, "06 12 34 56 78"},
                                   {10, "roy@example.fr"}})});
    db = std::move(tb::Database::open(base.path()).value());
    const std::vector<tb::Contact> file = {
        contact({{3, "Durand"}, {4, "marie"}, {6, "17000"}, {10, "roy@example.fr"}}),
        contact({{3, "Autre"}, {10, "ROY@example.fr"}}), contact({{3, "Encore"}, {9, "+33 6 12 34 56 78"}}),
        contact({{3, "Neuf"}, {4, "Léa"}}), contact({{3, "NEUF"}, {4, "lea"}}),
    };
    std::vector<std::pair<long long, tb::DuplicateRule>> asked;
    bool forAll = false;
    const auto skip = [&](const CardRecord&, long long n, const CardRecord&, tb::DuplicateRule rule) {
        asked.emplace_back(n, rule);
        return tb::DuplicateDecision{DuplicateChoice::Skip, forAll};
    };
    const tb::ImportReport report = tb::importContacts(*db, file, {}, skip);
    ASSERT_FALSE(report.error);
    // The names come first; then the e-mail, then the mobile.
    EXPECT_EQ(asked, (std::vector<std::pair<long long, tb::DuplicateRule>>{
                         {1, tb::DuplicateRule::Names}, {2, tb::DuplicateRule::Email}, {2, tb::DuplicateRule::Mobile}}));
    EXPECT_EQ(report.created, 2);
    EXPECT_EQ(db->count(), 4);
    EXPECT_TRUE(report.notes.contains("NEUF lea : même contact que le n° 4 du fichier, créé lui aussi (fiche n° 4)"));
    EXPECT_TRUE(report.notes.contains("Autre : déjà dans la fiche n° 2 (même adresse e-mail), ignorée"));
    // The cards of this import are duplicates for the next one.
    EXPECT_EQ(tb::importContacts(*db, {file[3]}, {}, skip).skipped, 1);
    EXPECT_EQ(asked.back(), std::make_pair(3LL, tb::DuplicateRule::Names));
    asked.clear();
    forAll = true;
    EXPECT_EQ(tb::importContacts(*db, file, {}, skip).skipped, 5);
    EXPECT_EQ(asked.size(), 1u);
}

TEST_F(ImportTest, AContactWithNoFieldForTheCardIsNotCreatedButListed)
{
    // From a vCard: a web address alone, a photo alone; from a CSV file: a row
    // whose only value is in a column no field takes.
    std::vector<tb::Contact> read =
        tb::readVCards("BEGIN:VCARD\nVERSION:3.0\nURL:https://example.fr\nEND:VCARD\n"
                       "BEGIN:VCARD\nVERSION:3.0\nN:Dupont;Jean\nEND:VCARD\n"
                       "BEGIN:VCARD\nVERSION:3.0\nPHOTO;ENCODING=b;TYPE=PNG:" + picture("PNG").toBase64()
                           + "\nEND:VCARD\n", kCaptions);
    auto rows = tb::csvContacts("Nom,Site\n,https://example.com\nMartin,\n", kCaptions, {}, nullptr);
    ASSERT_TRUE(rows);
    read.insert(read.end(), rows->begin(), rows->end());
    const tb::ImportReport report = tb::importContacts(*db, read, {}, tb::alwaysAnswer(DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(db->count(), 3);
    EXPECT_EQ(db->card(3).value().field(3).trimmed(), "MARTIN");
    EXPECT_TRUE(photos().isEmpty());
    EXPECT_EQ(report.summary(),
              "2 fiche(s) créée(s), 0 complétée(s), 0 ignorée(s), 3 contact(s) sans champ non créé(s).");
    EXPECT_EQ(report.notes.filter("aucun champ"),
              QStringList({"Contact n° 1 du fichier : aucun champ pour la fiche, non créée (site : https://example.fr)",
                           "Contact n° 3 du fichier : aucun champ pour la fiche, non créée (une photo)",
                           "Contact n° 4 du fichier : aucun champ pour la fiche, non créée (Site : https://example.com)"}));
}

TEST_F(ImportTest, APhotoTooLargeOrUnreadableIsNotStoredAndTheReportSaysWhy)
{
    // A file of 11 Mo that starts like a JPEG, a bitmap whose header claims
    // 20000 pixels a side, and a small PNG stored as the JPEG the cards show.
    tb::Contact huge = contact({{3, "Grand"}}), claimed = contact({{3, "Large"}}), small = contact({{3, "Petit"}});
    huge.photo = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(11 << 20, '\0');
    claimed.photo = exchange_samples::bitmapHeader(20000, 20000) + QByteArray(12, '\0');
    small.photo = picture("PNG");
    const tb::ImportReport report =
        tb::importContacts(*db, {huge, claimed, small}, {}, tb::alwaysAnswer(DuplicateChoice::Skip));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(report.created, 3);
    EXPECT_EQ(photos(), QStringList("photo4.jpg"));
    EXPECT_TRUE(readBytes(base.file("photo4.jpg")).startsWith("\xFF\xD8"));
    const QString why = QStringLiteral(" : non repris, photo illisible ou trop grande (plus de 10 Mo, de 10000 pixels de "
                                       "côté ou de 50 millions de pixels)");
    EXPECT_TRUE(report.notes.contains("Grand" + why));
    EXPECT_TRUE(report.notes.contains("Large" + why));
}

TEST_F(ImportTest, ManyContactsImportInBatchesWithFewFilesOpenAndARepeatInTheFileIsCreatedToo)
{
    std::vector<tb::Contact> many;
    for (int i = 0; i < 70; ++i)
        many.push_back(contact({{3, QStringLiteral("CARTE%1").arg(i)}, {6, "33000"}}));
    // Contact 10 again with an e-mail address: duplicates are the cards there before.
    many.insert(many.begin() + 20, contact({{3, "carte10"}, {6, "33000"}, {10, "dix@example.fr"}}));
    tb::ImportOptions options;
    options.batchSize = 30;  // three batches, each with more side files than files may be open
    EXPECT_TRUE(underOpenFileLimit(32, [&] {
        const auto report = tb::importContacts(*db, many, options, tb::alwaysAnswer(DuplicateChoice::Fill));
        return !report.error && report.created == 71 && report.filled == 0;
    }));
    auto reopened = std::move(tb::Database::open(base.path()).value());
    EXPECT_EQ(reopened->count(), 72);
    EXPECT_EQ(reopened->card(12)->field(10).trimmed(), QString());
    EXPECT_EQ(reopened->card(22)->field(10).trimmed(), "dix@example.fr");
    EXPECT_EQ(reopened->card(72)->field(3).trimmed(), "CARTE69");
    EXPECT_TRUE(QFileInfo::exists(base.file("M72.txt")));
}

TEST_F(ImportTest, AFailedAutomaticBackupStopsTheImportAndOneAutomaticBackupIsKept)
{
    // (An import failing part way is among the half-done changes of the database.)
    std::vector<tb::Contact> many;
    for (int i = 0; i < 20; ++i)
        many.push_back(contact({{3, QStringLiteral("CARTE%1").arg(i)}, {6, "33000"}}));
    // The automatic backup failing stops the import before any card; taken, it replaces the last one.
    tb::ImportOptions options;
    options.programFolder = program.path();
    EXPECT_TRUE(underFileSizeLimit(7000, [&] {
        const auto report = tb::importContacts(*db, many, options, tb::alwaysAnswer(DuplicateChoice::Create));
        return report.error && report.created == 0;
    }));
    EXPECT_EQ(tb::Database::open(base.path()).value()->count(), 1);
    const QString kept = tb::automaticBackupFolder(program.path(), *db);
    EXPECT_EQ(kept, program.path() + "Sauvegardes/BaseTest/");
    EXPECT_FALSE(QFileInfo::exists(kept));
    for (const char* count : {"1", "2"}) {
        ASSERT_FALSE(tb::importContacts(*db, {contacts[1]}, options, tb::alwaysAnswer(DuplicateChoice::Create)).error);
        EXPECT_EQ(readBytes(kept + "NBFiches.dat").trimmed(), count);
    }
    EXPECT_EQ(QDir(program.path() + "Sauvegardes").entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"BaseTest"});
}

// A CSV or vCard file from the outside world cannot exhaust the memory or stall the import: each size beyond its limit
// is refused with a message naming it, never aborting, and big or hostile files are read in seconds.
QString csvRefusal(const QByteArray& file)
{
    const tb::Result<tb::CsvTable> t = tb::parseCsv(file, tb::CsvEncoding::Utf8);
    return t ? QString() : t.error().message();
}

TEST(CsvLimits, AFileBeyondALimitIsRefusedWithThatLimit)
{
    EXPECT_EQ(csvRefusal(QByteArray(tb::kCsvMaxBytes + 1, 'a')), "Le fichier CSV dépasse 64 Mo : il n'est pas lu.");
    // Quoted or not, a value is counted as it grows, not after.
    const QByteArray longValue(tb::kCsvMaxValueChars + 1, 'x');
    for (const QByteArray& file : {"Nom\nA\n" + longValue + "\n", "Nom\nA\n\"" + longValue + "\"\n",
                                   "Nom\nA\n\"" + longValue})
        EXPECT_EQ(csvRefusal(file),
                  "Une valeur de la ligne 3 du fichier CSV dépasse 65536 caractères : le fichier n'est pas lu.");
    EXPECT_EQ(csvRefusal("Nom\n\"a\nb\"," + QByteArray(tb::kCsvMaxColumns, ',') + "\n"),
              "La ligne 2 du fichier CSV a plus de 1000 colonnes : le fichier n'est pas lu.");
    QByteArray rows = "Nom\n";
    for (qsizetype i = 0; i < tb::kCsvMaxRows; ++i)
        rows += "a\n";
    EXPECT_EQ(csvRefusal(rows), "Le fichier CSV a plus de 1000000 lignes : il n'est pas lu.");
    rows.chop(2);
    EXPECT_EQ(csvRefusal(rows), QString());
}

TEST(CsvLimits, FiftyMegabytesAreReadInSecondsAndTenTimesTheFileTakesAboutTenTimesAsLong)
{
    // An address book as Outlook writes it: quoted values, doubled quotes, line breaks in notes.
    const auto timeToRead = [](qsizetype megabytes) {
        QByteArray file = "\"Title\",\"First Name\",\"Last Name\",\"Company\",\"Home Street\",\"Home City\","
                          "\"Home Postal Code\",\"Home Phone\",\"Mobile Phone\",\"E-mail Address\",\"Notes\"\r\n";
        const QByteArray row = "\"Mme\",\"Anne\",\"MARTIN\",\"Martin SARL\",\"3 rue des Lilas\",\"Privas\",\"07000\","
                               "\"04 75 11 22 33\",\"06 11 22 33 44\",\"anne@exemple.fr\",\"Cliente fidèle, "
                               "\"\"rappeler\"\"\nle lundi\"\r\n";
        qsizetype rows = 0;
        for (file.reserve(megabytes * 1024 * 1024 + row.size()); file.size() < megabytes * 1024 * 1024; ++rows)
            file += row;
        QElapsedTimer timer;
        timer.start();
        const tb::Result<tb::CsvTable> t = tb::parseCsv(file);
        const qint64 ms = timer.elapsed();
        EXPECT_TRUE(t);
        EXPECT_EQ(t ? t->rows.size() : 0, rows);
        EXPECT_EQ(t ? t->rows.back().value(10) : QString(), "Cliente fidèle, \"rappeler\"\nle lundi");
        return ms;
    };
    const qint64 smallMs = timeToRead(5);
    const qint64 bigMs = timeToRead(50);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(bigMs, 10000);
#endif
    // A quadratic step would take a hundred times as long.
    EXPECT_LT(bigMs, 30 * smallMs + 1000) << smallMs << " ms for 5 MB, " << bigMs << " ms for 50 MB";
}

const QStringList kWithObservations = tb::exchangeCaptions({"Observations"});

QByteArray oneCard(const QByteArray& inside)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Dupont;Jean\r\n" + inside + "END:VCARD\r\n";
}

TEST(VCardLimits, OversizeLinesValuesAndFilesAreRefusedNamingTheLimit)
{
    const auto line = tb::readVCards(oneCard("NOTE:" + QByteArray(17 << 20, 'a') + "\r\n"), kWithObservations);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].field(3), "Dupont");
    EXPECT_EQ(line[0].notKept, QStringList("ligne 4 de plus de 16 Mo (NOTE), non reprise"));
    const auto value = tb::readVCards(oneCard("NOTE:" + QByteArray(70 << 10, 'a') + "\r\n"), kWithObservations);
    ASSERT_EQ(value.size(), 1u);
    EXPECT_TRUE(value[0].field(11).isEmpty());
    EXPECT_EQ(value[0].notKept, QStringList("note : valeur de plus de 64 Ko à la ligne 4"));

    // A file past the limit is refused before it is read (a sparse file here).
    QTemporaryDir folder;
    const QString path = folder.filePath("enorme.vcf");
    {
        QFile big(path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(oneCard({}));
        ASSERT_TRUE(big.resize(tb::kMaxVCardFileBytes + 1));
    }
    const tb::VCardReading refused = tb::readVCardPath(path, kWithObservations);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->message(), " Ce fichier fait plus de 256 Mo : il n'est pas importé.");
    EXPECT_TRUE(refused.contacts.empty());
    const tb::VCardReading missing = tb::readVCardPath(folder.filePath("absent.vcf"), kWithObservations);
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->number, tb::kErrorFileNotFound);
}

TEST(VCardLimits, FiftyMegabytesAndHostileFilesAreReadInAFewSeconds)
{
    QByteArray many;
    for (int i = 0; many.size() < (50 << 20); ++i)
        many += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Durand" + QByteArray::number(i)
                + ";Hélène;;Mme;\r\nADR;TYPE=HOME:;;3 rue de la Gare;Bordeaux;;33000;France\r\n"
                  "TEL;TYPE=CELL:06 12 34 56 78\r\nEMAIL:h@example.fr\r\nNOTE:Observations: "
                + QByteArray(300, 'x') + "\r\nEND:VCARD\r\n";
    // A folded line with no colon repeated, a head of decomposed accents,
    // parameters of endless quotes, all within a card.
    QByteArray folded = "BEGIN:VCARD\r\nN:A\r\nX";
    for (int i = 0; i < (1 << 20); ++i)
        folded += "\r\n xxxxxxxx";
    const QByteArray accents = oneCard("X-" + QByteArray(8 << 20, 'e').replace("ee", "e\xCC\x81") + ":1\r\n");
    const QByteArray quotes = oneCard("TEL;TYPE=\"" + QByteArray(8 << 20, '"') + ":1\r\n");
    const QByteArray lines = QByteArray(4 << 20, '\n') + oneCard({});

    QElapsedTimer clock;
    clock.start();
    const tb::VCardReading big = tb::readVCardFile(many, kWithObservations);
    const qint64 bigMs = clock.restart();
    EXPECT_FALSE(big.error);
    EXPECT_GT(big.contacts.size(), 90000u);
    EXPECT_EQ(big.contacts.back().field(11), QString(300, u'x'));
    for (const QByteArray* hostile : std::initializer_list<const QByteArray*>{&folded, &accents, &quotes, &lines})
        EXPECT_EQ(tb::readVCardFile(*hostile, kWithObservations).contacts.size(), 1u);
    const qint64 hostileMs = clock.elapsed();
    // About 4 s alone, three times that on a busy machine; a quadratic step would take minutes.
    EXPECT_LT(bigMs, 30000) << "50 Mo";
    EXPECT_LT(hostileMs, 30000);
    std::printf("50 Mo read in %lld ms, hostile files in %lld ms\n", bigMs, hostileMs);
}

}  // namespace
