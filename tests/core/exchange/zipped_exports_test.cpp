// The zipped exports: the spreadsheet's text and number cells; a person's every file with a summary
// and the backups still holding them; a failed write leaves nothing.
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/exchange/ods.h"
#include "core/exchange/person_data.h"
#include "exchange_samples.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

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

}  // namespace

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
