// A person's data: every file held about one card, in a folder or a zip, with
// a summary; the backups that still hold that person are found.
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/exchange/person_data.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDateTime>
#include <QDir>
#include <gtest/gtest.h>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace testing_support;

namespace {

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
    std::unique_ptr<tb::Database> open()
    {
        auto db = tb::Database::open(folder.path());
        EXPECT_TRUE(db);
        return std::move(*db);
    }
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
    QuaZip zip(zipPath);
    ASSERT_TRUE(zip.open(QuaZip::mdUnzip));
    QStringList inZip = zip.getFileNameList();
    EXPECT_EQ(inZip, names(*zipped));
    EXPECT_TRUE(inZip.contains("note_dechiffree.txt"));
    zip.setCurrentFile("R1.txt");
    QuaZipFile r1(&zip);
    ASSERT_TRUE(r1.open(QIODevice::ReadOnly));
    EXPECT_EQ(r1.readAll(), readBytes(folder.file("R1.txt")));

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
