// The zipped exports: the spreadsheet's text and number cells; a person's every file with a summary
// and the backups still holding them; a failed write leaves nothing.
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "core/exchange/csv.h"
#include "core/exchange/ods.h"
#include "core/exchange/person_data.h"
#include "core/exchange/vcard.h"
#include "exchange_samples.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <gtest/gtest.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace testing_support;
using exchange_samples::card;

namespace {

struct Entry {
    QString name;
    int method = -1;
    QByteArray bytes;
};

std::vector<Entry> entries(const QString& path)
{
    std::vector<Entry> out;
    QuaZip zip(path);
    for (bool more = zip.open(QuaZip::mdUnzip) && zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        int method = -1, level = 0;
        file.open(QIODevice::ReadOnly, &method, &level, true);  // raw, to see the method
        file.close();
        file.open(QIODevice::ReadOnly);
        out.push_back({zip.getCurrentFileName(), method, file.readAll()});
    }
    return out;
}

class OdsExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeCards(base.path(), {card({{1, "1 1                    1"}, {3, "DUPONT"}, {6, "07190"}, {8, "0475000000"},
                                       {9, "06 12 34 56 78"}, {11, "1234"}, {15, "12.50"}, {16, ".50"}, {17, "à voir"},
                                       {18, "1 250,50"}}), card({{1, "0 1                    1"}, {3, "ARCHIVE"}})});
        db = std::move(tb::Database::open(base.path()).value());
    }
    TempProgramFolder program;
    TempDatabase base{program.path()};
    std::unique_ptr<tb::Database> db;
};

TEST_F(OdsExport, PostalCodesAndPhonesAreTextCellsAndAmountsNumbersByteForByte)
{
    const QString path = program.file("fiches.ods");
    const tb::Result<long long> written = tb::writeOdsFile(*db, path, false);
    ASSERT_TRUE(written) << written.error().message().toStdString();
    EXPECT_EQ(*written, 1);
    const std::vector<Entry> zip = entries(path);
    ASSERT_EQ(zip.size(), 3u);
    // The format's signature: "mimetype" first, stored as it is.
    EXPECT_EQ(zip[0].name, "mimetype");
    EXPECT_EQ(zip[0].method, 0);
    EXPECT_EQ(zip[0].bytes, "application/vnd.oasis.opendocument.spreadsheet");
    EXPECT_EQ(zip[1].name, "META-INF/manifest.xml");
    EXPECT_EQ(zip[1].bytes, exchange_samples::sample("export/ods_manifest.xml"));
    ASSERT_EQ(zip[2].name, "content.xml");
    // "07190", "0475000000", "1234" and "à voir" text cells; "12.50", ".50", "1 250,50" numbers.
    EXPECT_EQ(QString::fromUtf8(zip[2].bytes), QString::fromUtf8(exchange_samples::sample("export/ods_content.xml")));

    ASSERT_TRUE(tb::writeOdsFile(*db, path, true));
    EXPECT_EQ(entries(path)[2].bytes.count("<table:table-row>"), 3);
}

TEST_F(OdsExport, AFailedWriteLeavesNoFileAndSaysWhy)
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/fiches.ods");
    EXPECT_TRUE(underFileSizeLimit(200, [&] {
        const tb::Result<long long> written = tb::writeOdsFile(*db, path, true);
        return !written && written.error().number == 61;
    }));
    const auto left = [&] {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    EXPECT_TRUE(left().isEmpty());
    // A folder under the chosen name stays a folder.
    ASSERT_TRUE(QDir(folder.path()).mkdir("fiches.ods"));
    EXPECT_FALSE(tb::writeOdsFile(*db, path, true));
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(left().size(), 1);
}

struct PersonDataTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};

    void SetUp() override
    {
        writeCards(folder.path(), {makeCard("DUPONT", "Jean", 3, 10, 10, "75001", "PARIS"),
                                   makeCard("MARTIN", "Luc", 3, 20, 20, "13001", "MARSEILLE")});
        writeBytes(folder.file("R1.txt"), "12.50------------>01/02/26  M. Dupont\r\n");
        writeBytes(folder.file("photo1.jpg"), "\xFF\xD8 photo of Jean");
        writeBytes(folder.file("DtxtA1.txt"), "Lettre\r\n");
        writeBytes(folder.file("F1.txt"), "Note\r\n");
        writeBytes(folder.file("R2.txt"), "not Jean's\r\n");
    }
    std::unique_ptr<tb::Database> open() { return std::move(tb::Database::open(folder.path()).value()); }
};

QStringList names(const tb::PersonData& data)
{
    QStringList n;
    for (const tb::PersonDataItem& item : data.items)
        n << item.name;
    return n;
}

TEST_F(PersonDataTest, EveryFileOfTheCardAndNoOtherGoesIntoTheFolderOrTheZipWithASummary)
{
    auto db = open();
    const QString out = program.path() + "Jean/";
    const tb::Result<tb::PersonData> data = tb::exportPersonData(*db, 1, out, {});
    ASSERT_TRUE(data) << data.error().message().toStdString();
    const QStringList expected{"fiche.txt", "fiche.vcf", "DtxtA1.txt", "F1.txt", "photo1.jpg", "R1.txt", "resume.pdf"};
    EXPECT_EQ(names(*data), expected);
    QStringList sorted = expected;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), sorted);
    for (const char* side : {"R1.txt", "photo1.jpg", "DtxtA1.txt", "F1.txt"})
        EXPECT_EQ(readBytes(out + side), readBytes(folder.file(side))) << side;
    EXPECT_TRUE(readBytes(out + "fiche.txt").contains("DUPONT"));
    EXPECT_TRUE(readBytes(out + "fiche.vcf").startsWith("BEGIN:VCARD"));
    EXPECT_TRUE(readBytes(out + "resume.pdf").startsWith("%PDF"));

    // The same into one zip, the note deciphered beside it when a key is given.
    const QString zipPath = program.path() + "jean.zip";
    const tb::Result<tb::PersonData> zipped = tb::exportPersonData(*db, 1, zipPath, {}, "clef");
    ASSERT_TRUE(zipped);
    QStringList inZip;
    for (const Entry& e : entries(zipPath)) {
        inZip << e.name;
        if (e.name == "R1.txt")
            EXPECT_EQ(e.bytes, readBytes(folder.file("R1.txt")));
    }
    EXPECT_EQ(inZip, names(*zipped));
    EXPECT_TRUE(inZip.contains("note_dechiffree.txt"));

    // Where it cannot be written, it says so and leaves nothing.
    const QString denied = program.path() + "denied/";
    QDir().mkpath(denied);
    EXPECT_TRUE(underFileSizeLimit(100, [&] {
        const auto r = tb::exportPersonData(*db, 1, denied + "x.zip", {});
        return !r && r.error().number == tb::kErrorDiskFull && QDir(denied).isEmpty();
    }));
}

TEST_F(PersonDataTest, TheBackupsStillHoldingThePersonAreNamedAndOthersNot)
{
    auto db = open();
    const QString dated = *tb::backupToDatedFolder(*db, program.path(), QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    const QString automatic = *tb::replaceAutomaticBackup(*db, program.path());
    EXPECT_EQ(tb::backupsHolding(*db, 1, program.path()), (QStringList{automatic, dated}));

    // A card created after the backups is in none of them.
    ASSERT_TRUE(db->createCard(makeCard("NOUVEAU", "Paul", 3, 30, 30, "69001")).ok());
    EXPECT_TRUE(tb::backupsHolding(*db, 3, program.path()).isEmpty());
}

// The vCard and CSV exports of a varied database, byte for byte: every byte of the code page in every field, texts to
// escape, quote and fold, dates, note lines, odd pins, archived cards and photos.

// Pieces that each exercise a case of the writers; the rest of a field is
// random bytes of the whole code page, or blanks.
const char* const kPieces[] = {
    "DUPONT", "Hélène", "3, rue \"Haute\"", "a;b\\c,d", "ligne\r\nsuite\n", "\t tab\t", "  deux  blancs ",
    "\xA0insécable\xA0", "12/03/1975", "31/02/1975", "29/02/2000", "1/03/1975", "12/03/1975 ", "00/00/0000",
    "Profession: vue", "Société : SARL", ":seul", "Œuvre «Ÿ» €…", "chef  de  rang", "\x81\x8D\x8F\x90\x9D",
    "éééééééééééééééééééééééééééééééééééééééé", "\"\"", ",", ";", "\\", "\n", "\r", " ",
};

// A deterministic generator: the expected digests never move.
struct Lcg {
    quint64 state = 20240611;
    quint32 next()
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(state >> 33);
    }
};

QByteArray varied(Lcg& r, int width)
{
    QByteArray f;
    switch (r.next() % 5) {
    case 0:
        break;
    case 1:
        for (int i = 0; i < width; ++i)
            f += char(r.next() % 256);
        break;
    default:
        while (f.size() < width && r.next() % 3)
            f += kPieces[r.next() % std::size(kPieces)];
        break;
    }
    f = f.left(width);
    return f + QByteArray(width - f.size(), ' ');
}

QByteArray pinField(Lcg& r)
{
    static const char* const kPins[] = {"1 120                  45", "0 300                  200",
                                        "3 10.5                 10.25", "  7                    7",
                                        "\xA0" "12     \xE9             -3", "9-4.125                1e3",
                                        "", "5"};
    const QByteArray f = QByteArray(kPins[r.next() % std::size(kPins)]).left(30);
    return f + QByteArray(30 - f.size(), ' ');
}

std::string sha(const QString& path)
{
    return QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256).toHex().left(16).toStdString();
}

TEST(ExportBytes, VCardAndCsvFilesOfEveryKindOfFieldAreWrittenByteForByte)
{
    TempProgramFolder program;
    TempDatabase base(program.path());
    Lcg r;
    QByteArray records;
    constexpr int kCards = 600;
    for (int n = 0; n < kCards; ++n) {
        records += pinField(r);
        for (int i = 1; i < CardRecord::kFieldCount; ++i)
            records += varied(r, CardRecord::kWidths[size_t(i)]);
    }
    writeBytes(base.file(QStringLiteral("lesfiches.dat")), records);
    writeBytes(base.file(QStringLiteral("NBFiches.dat")), QByteArray::number(kCards));
    writeBytes(base.file(QStringLiteral("photo3.jpg")), QByteArray("\xFF\xD8\xFF photo trois", 15));
    writeBytes(base.file(QStringLiteral("PHOTO5.JPG")), QByteArray(700, 'P'));
    writeBytes(base.file(QStringLiteral("photo08.jpg")), "pas la fiche 8");
    auto db = tb::Database::open(base.path());
    ASSERT_TRUE(db);
    ASSERT_EQ(db.value()->count(), kCards);

    const QString vcf = program.file(QStringLiteral("cartes.vcf")), csv = program.file(QStringLiteral("cartes.csv"));
    const auto active = tb::writeVCardFile(*db.value(), vcf, false);
    ASSERT_TRUE(active);
    EXPECT_EQ(sha(vcf), "150b9b4e32e4525d");
    const auto all = tb::writeVCardFile(*db.value(), vcf, true);
    ASSERT_TRUE(all);
    EXPECT_EQ(*all, kCards);
    EXPECT_EQ(sha(vcf), "4ae395c5b825e720");
    ASSERT_TRUE(tb::writeCsvFile(*db.value(), csv, false));
    EXPECT_EQ(sha(csv), "99ed2af6df44b012");
    ASSERT_TRUE(tb::writeCsvFile(*db.value(), csv, true));
    EXPECT_EQ(sha(csv), "40339cc90ca280e3");
    EXPECT_LT(*active, kCards);
    EXPECT_GT(*active, 0);
}

// Exports of more cards than one block (made on two threads) hold every
// card once, in card order, with the bytes each card gives alone.
TEST(ExportsOfManyCards, HoldEveryCardInOrderAsEachCardAlone)
{
    TempProgramFolder program;
    TempDatabase small(program.path()), large(program.path(), QStringLiteral("Grande"));
    const QStringList names = {"DUPONT", "Hélène; a,b", "ŒUVRE «Ÿ»", "ligne\\fin", "  BLANCS  ", ""};
    std::vector<CardRecord> cards;
    for (int i = 0; i < 100; ++i)
        cards.push_back(makeCard(names[i % names.size()] + QString::number(i), "Zoé", i % 7 ? 1 : 0, i, 2 * i,
                                 QString::number(17000 + i), "LA ROCHELLE"));
    writeCards(small.path(), cards);
    // Three blocks and a part: the other thread's block, its photo, the end.
    std::vector<CardRecord> many;
    for (int k = 0; k < 90; ++k)
        many.insert(many.end(), cards.begin(), cards.end());
    writeCards(large.path(), many);
    const QByteArray photo("\xFF\xD8\xFF photo", 10);
    writeBytes(large.file(QStringLiteral("photo5000.jpg")), photo);
    auto one = std::move(tb::Database::open(small.path())).value();
    auto db = std::move(tb::Database::open(large.path())).value();

    const QString vcf = program.file(QStringLiteral("cartes.vcf"));
    ASSERT_EQ(*tb::writeVCardFile(*db, vcf, true), (long long)many.size());
    QByteArray expected;
    const QStringList captions = tb::exchangeCaptions(db->captions());
    for (size_t n = 1; n <= many.size(); ++n)
        expected += tb::vCardOf(many[n - 1], captions, n == 5000 ? photo : QByteArray());
    EXPECT_TRUE(readBytes(vcf) == expected);

    // The active cards' rows: the small base's, over and over.
    for (bool archived : {false, true}) {
        const QString csv = program.file(QStringLiteral("cartes.csv"));
        const long long rows = *tb::writeCsvFile(*one, csv, archived);
        const QByteArray alone = readBytes(csv);
        const qsizetype header = alone.indexOf("\r\n") + 2;
        ASSERT_EQ(*tb::writeCsvFile(*db, csv, archived), rows * 90);
        EXPECT_TRUE(readBytes(csv) == alone.left(header) + alone.mid(header).repeated(90)) << archived;
    }
}

}  // namespace
