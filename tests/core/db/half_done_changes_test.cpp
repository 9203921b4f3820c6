// What a killed or failed change leaves behind: creations and imports cut
// short, counts that hide cards, exports half made, and outside files that
// would hang a reading or lead a write out of the database.
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/lists/exports.h"
#include "core/exchange/exchange_samples.h"
#include "core/map/preview_image.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;
using exchange_samples::picture;

namespace {

struct HalfDoneChanges : ::testing::Test {
    TempProgramFolder program;
    TempDatabase base{program.path()};
    void SetUp() override { writeCards(base.path(), {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20)}); }
    qint64 recordBytes() const { return QFileInfo(base.file("lesfiches.dat")).size(); }
    QStringList files() const { return QDir(base.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    std::unique_ptr<tb::Database> open() { return std::move(tb::Database::open(base.path())).value(); }
};

}  // namespace

TEST_F(HalfDoneChanges, SideFilesPastTheCountAreRemovedAtOpeningAndANewCardFindsNone)
{
    // As a killed import leaves them: its batch's photos and templates.
    const QStringList left = {"photo3.jpg", "F3.txt", "M3.txt", "PHOTO4.JPG", "DtxtA3.txt", "StrFic.txt.tmp-Ab12Cd"};
    for (const QString& name : left + QStringList{"notes3.txt", "notes.tmp-long-name.txt"})
        writeBytes(base.file(name), "reste");
    // Reading changes nothing.
    ASSERT_TRUE(tb::Database::open(base.path(), tb::Database::Access::ReadOnly));
    EXPECT_TRUE(QFile::exists(base.file("photo3.jpg")) && QFile::exists(base.file("StrFic.txt.tmp-Ab12Cd")));
    auto db = open();
    for (const QString& name : left)
        EXPECT_FALSE(QFile::exists(base.file(name))) << name.toStdString();
    EXPECT_TRUE(QFile::exists(base.file("notes3.txt")) && QFile::exists(base.file("notes.tmp-long-name.txt")));
    // A document the user made is named; files the program made are not.
    EXPECT_EQ(db->countCorrection(), " Documents retirés, faute de fiche à leur numéro : DtxtA3.txt.");

    // Left meanwhile by hand: the new card still starts bare, and takes the
    // photo given with it.
    writeBytes(base.file("photo3.jpg"), "autre personne");
    writeBytes(base.file("photo5.jpg"), "autre personne");
    ASSERT_TRUE(db->createCards({makeCard("TROIS", "c", 1, 5, 5), makeCard("QUATRE", "d", 1, 6, 6),
                                 makeCard("CINQ", "e", 1, 7, 7)}, {{}, picture("JPG", Qt::red)}));
    EXPECT_FALSE(QFile::exists(base.file("photo3.jpg")));
    EXPECT_EQ(readBytes(base.file("photo4.jpg")), picture("JPG", Qt::red));
    EXPECT_FALSE(QFile::exists(base.file("photo5.jpg")));
    EXPECT_TRUE(QFile::exists(base.file("F5.xls")));
}

TEST_F(HalfDoneChanges, CardsPastASmallerOrGarbledCountAreCountedInNeverOverwritten)
{
    writeCards(base.path(), {makeCard("UN", "a", 1, 1, 1), makeCard("DEUX", "b", 1, 2, 2), makeCard("TROIS", "c", 1, 3, 3),
                             makeCard("QUATRE", "d", 1, 4, 4), makeCard("CINQ", "e", 1, 100, 100)});
    for (const QByteArray& count : {QByteArray(" 3,7\r\n"), QByteArray("+4\r\n"), QByteArray("\x01\xfe"), QByteArray(),
                                    QByteArray("-4\r\n"), QByteArray("999999999\r\n")}) {
        SCOPED_TRACE(count.toHex().toStdString());
        // A read-only opening tells and writes nothing.
        writeBytes(base.file("NBFiches.dat"), count);
        auto reader = tb::Database::open(base.path(), tb::Database::Access::ReadOnly);
        ASSERT_TRUE(reader);
        EXPECT_EQ((*reader)->count(), 5);
        EXPECT_FALSE((*reader)->countCorrection().isEmpty());
        EXPECT_EQ(readBytes(base.file("NBFiches.dat")), count);
        auto db = open();
        EXPECT_EQ(db->count(), 5);
        EXPECT_EQ(db->countCorrection(), " Le nombre de fiches a été corrigé : 5 fiche(s).");
        EXPECT_EQ(readBytes(base.file("NBFiches.dat")), "5\r\n");
        EXPECT_EQ(db->pins().cardsAt(100, 100), std::vector<long long>{5});
        // The next card is card 6, never one that overwrites.
        EXPECT_EQ(db->createCard(makeCard("SIX", "f", 1, 6, 6)).value(), 6);
        EXPECT_EQ(db->card(5)->field(3).trimmed(), "CINQ");
        ASSERT_TRUE(db->deleteCard(6));
    }
    // The blank record a deletion leaves past the count is no card, whether
    // the count is sound or garbled.
    ASSERT_TRUE(open()->deleteCard(5));
    EXPECT_EQ(open()->countCorrection(), "");
    writeBytes(base.file("NBFiches.dat"), "abc");
    auto db = open();
    EXPECT_EQ(db->count(), 4);
    EXPECT_EQ(db->countCorrection(), " Le nombre de fiches a été corrigé : 4 fiche(s).");
}

TEST_F(HalfDoneChanges, ACreationOrABatchThatFailsPartWayLeavesTheFilesAsTheyWere)
{
    auto db = open();
    const qint64 records = recordBytes();
    const QStringList before = files();
    const QByteArray count = readBytes(base.file("NBFiches.dat"));
    // The record fits, the side files do not (a full disk).
    EXPECT_FALSE(underFileSizeLimit(records + 630 + 1, [&] {
        return bool(db->createCards({makeCard("TROIS", "c", 1, 5, 5)}, {picture("JPG", Qt::blue)}));
    }));
    EXPECT_EQ(recordBytes(), records);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(readBytes(base.file("NBFiches.dat")), count);

    // Everything written but the count: the records and side files go back.
    QFile::remove(base.file("NBFiches.dat"));
    ASSERT_TRUE(QDir(base.path()).mkdir("NBFiches.dat"));
    std::vector<tb::Contact> contacts(3);
    for (size_t k = 0; k < contacts.size(); ++k) {
        contacts[k].field(3) = QStringLiteral("IMPORT%1").arg(k);
        contacts[k].photo = picture("JPG", Qt::green);
    }
    const tb::ImportReport report = tb::importContacts(*db, contacts, {}, tb::alwaysAnswer(tb::DuplicateChoice::Create));
    ASSERT_TRUE(report.error);
    EXPECT_EQ(report.created, 0);
    EXPECT_EQ(recordBytes(), records);
    QDir(base.path()).rmdir("NBFiches.dat");
    writeBytes(base.file("NBFiches.dat"), count);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(db->count(), 2);
}

TEST_F(HalfDoneChanges, AKilledExportsTemporaryFileGoesAtTheNextExportAndOneBeingWrittenStays)
{
    // Opened first: an opening removes every temporary file, held or not.
    auto db = open();
    writeBytes(base.file("export.txt.tmp-Ab12Cd"), "moitié");
    writeBytes(base.file("autre.csv.tmp-Zz99Yy"), "en cours");
    const int held = ::open(QFile::encodeName(base.file("autre.csv.tmp-Zz99Yy")).constData(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ASSERT_TRUE(tb::writeExport(db->store(), 2, tb::ExportFormat::Fields));
    ::close(held);
    EXPECT_FALSE(QFile::exists(base.file("export.txt.tmp-Ab12Cd")));
    EXPECT_TRUE(QFile::exists(base.file("autre.csv.tmp-Zz99Yy")));
}

TEST_F(HalfDoneChanges, PipesAndLinksOutOfTheFolderAreNeitherWaitedOnNorWrittenThrough)
{
    // A pipe as "carte.txt", then as the map it names: answered at once.
    const QByteArray map = readBytes(base.file("carte.txt"));
    QFile::remove(base.file("carte.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(base.file("carte.txt")).constData(), 0644), 0);
    EXPECT_EQ(tb::readPathValue(base.file("carte.txt")), QString());
    const auto piped = tb::readFile(base.file("carte.txt"));
    ASSERT_FALSE(piped);
    EXPECT_EQ(piped.error().message(), "Erreur n° 75 : erreur d'accès au fichier (carte.txt n'est pas un fichier ordinaire)");
    EXPECT_TRUE(tb::loadMapImage(base.file("carte.txt")).isNull());
    EXPECT_TRUE(tb::loadPreview(base.file("carte.txt"), QSize(50, 50)).isNull());
    QFile::remove(base.file("carte.txt"));
    writeBytes(base.file("carte.txt"), map);

    // "lesfiches.dat" leading to a file elsewhere: refused, that file untouched.
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath("victime.dat");
    ASSERT_TRUE(QFile::rename(base.file("lesfiches.dat"), outside));
    ASSERT_TRUE(QFile::link(outside, base.file("lesfiches.dat")));
    const QByteArray kept = readBytes(outside);
    auto db = open();
    EXPECT_EQ(db->count(), 2);
    const tb::Status stored = db->storeCard(1, makeCard("AUTRE", "x", 1, 1, 1));
    ASSERT_FALSE(stored);
    EXPECT_EQ(stored.error().message(),
              "Erreur n° 70 : permission refusée (lesfiches.dat est un lien vers un fichier hors de la base)");
    EXPECT_FALSE(db->createCard(makeCard("AUTRE", "x", 1, 1, 1)));
    EXPECT_EQ(readBytes(outside), kept);
    EXPECT_EQ(db->count(), 2);
}
