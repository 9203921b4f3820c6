// Every write on a read-only folder, a full disk and a folder in its file's place: told, nothing changed.
// What killed or failed changes leave behind, and outside files that would hang a read or lead a write out.
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "core/exchange/exchange_samples.h"
#include "core/journals/journal.h"
#include "core/lists/exports.h"
#include "core/map/preview_image.h"
#include "core/tools/note_text.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;
using exchange_samples::picture;

namespace {

struct WriteCommand {
    const char* name;
    QString target;  // the file it writes first
    std::function<tb::Status(tb::Database&, const QString& programFolder)> run;
};

const std::vector<WriteCommand>& writeCommands()
{
    static const std::vector<WriteCommand> commands = {
        {"store", "lesfiches.dat",
         [](tb::Database& db, const QString&) { return db.storeCard(2, makeCard("MARTIN", "Paul", 4, 30, 30)); }},
        {"create", "lesfiches.dat",
         [](tb::Database& db, const QString&) { return db.createCard(makeCard("NOUVEAU", "Lea", 3, 40, 40)).status(); }},
        {"archive", "lesfiches.dat", [](tb::Database& db, const QString&) { return db.setArchived(2, true); }},
        {"captions", "StrFic.txt",
         [](tb::Database& db, const QString&) { return db.setCaptions(QStringList(10, "Intitulé nouveau")); }},
        {"map", "carte.txt",
         [](tb::Database& db, const QString&) { return db.setMapPath(QStringLiteral("/une/autre/") + QString(80, u'c') + QStringLiteral(".gif")); }},
        {"templates", "F.xls", [](tb::Database& db, const QString& program) { return db.refreshTemplates(program); }},
        {"memento", "M1.txt", [](tb::Database& db, const QString&) -> tb::Status {
             auto j = tb::Journal::open(db, 1, tb::JournalKind::Memento);
             return j ? j->add(QStringLiteral("Rappeler lundi ") + QString(200, u'.')) : j.status();
         }},
        {"note", "F1.txt",
         [](tb::Database& db, const QString&) { return tb::saveNote(db.file("F1.txt"), QString(500, u'n')); }},
        {"export", "export.txt", [](tb::Database& db, const QString&) {
             return tb::writeExport(db.store(), db.count(), tb::ExportFormat::Fields).status();
         }},
        // Last: under a full disk it may end half done, to be finished by the next opening.
        {"delete", "suppression.txt", [](tb::Database& db, const QString&) { return db.deleteCard(1); }},
    };
    return commands;
}

struct FailedWritesTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};

    void SetUp() override
    {
        writeCards(folder.path(), {makeCard("DUPONT", "Jean", 3, 10, 20), makeCard("DURAND", "Marie", 1, 20, 20),
                                   makeCard("LEROY", "Luc", 2, 50, 60)});
        for (const char* side : {"F1.txt", "R1.txt", "M1.txt", "M2.txt"})
            writeBytes(folder.file(side), "avant\r\n");
        writeBytes(folder.file("export.txt"), "ancienne exportation");
        writeBytes(program.file("F.xls"), QByteArray(4000, 'x'));  // a template newer than the database's
    }

    // Every file of the database folder and its bytes (the lock file aside).
    std::map<QString, QByteArray> snapshot() const
    {
        std::map<QString, QByteArray> files;
        QDirIterator it(folder.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            if (info.fileName() != QLatin1String(".tabulon.lock"))
                files[info.filePath()] = info.isDir() ? QByteArray("<dossier>") : readBytes(info.filePath());
        }
        return files;
    }

    // 0 done, 1 refused with the number expected, 2 refused with another.
    int runCommand(const WriteCommand& c, int expected)
    {
        auto db = tb::Database::open(folder.path());
        if (!db)
            return 2;
        const tb::Status s = c.run(*db.value(), program.path());
        if (s)
            return 0;
        return s.error().number == expected && s.error().message().startsWith(QStringLiteral("Erreur n° %1").arg(expected)) ? 1 : 2;
    }
};

struct HalfDoneChanges : ::testing::Test {
    TempProgramFolder program;
    TempDatabase base{program.path()};
    void SetUp() override { writeCards(base.path(), {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20)}); }
    qint64 recordBytes() const { return QFileInfo(base.file("lesfiches.dat")).size(); }
    QStringList files() const { return QDir(base.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    std::unique_ptr<tb::Database> open() { return std::move(tb::Database::open(base.path())).value(); }
};

}  // namespace

TEST_F(FailedWritesTest, OnAReadOnlyDatabaseFolderEveryWriteSaysErrorSeventyAndChangesNothing)
{
    // Another user may read the folder, not write it (root gives its rights up).
    ::chmod(QFile::encodeName(program.path()).constData(), 0755);
    for (const WriteCommand& c : writeCommands()) {
        const auto before = snapshot();
        setFolderWritable(folder.path(), false);
        const int outcome = codeWithoutRootRights([&] { return runCommand(c, tb::kErrorPermission); });
        setFolderWritable(folder.path(), true);
        EXPECT_EQ(outcome, 1) << c.name;
        EXPECT_EQ(snapshot(), before) << c.name;
    }
}

TEST_F(FailedWritesTest, OnAFullDiskEveryWriteSaysErrorSixtyOneAndChangesNothing)
{
    for (const WriteCommand& c : writeCommands()) {
        const auto before = snapshot();
        const int outcome = codeUnderFileSizeLimit(64, [&] { return runCommand(c, tb::kErrorDiskFull); });
        EXPECT_EQ(outcome, 1) << c.name;
        if (std::string(c.name) == "delete" && tb::Database::deletionPending(folder.path())) {
            // A deletion once begun is finished by the next opening, never left half done.
            auto db = tb::Database::open(folder.path());
            ASSERT_TRUE(db) << db.error().message().toStdString();
            EXPECT_EQ((*db)->count(), 2);
            EXPECT_EQ((*db)->card(1)->field(3).trimmed(), "LEROY");
            break;
        }
        EXPECT_EQ(snapshot(), before) << c.name;
    }
}

TEST_F(FailedWritesTest, AFolderInPlaceOfTheFileStopsEveryWriteAndChangesNothing)
{
    for (const WriteCommand& c : writeCommands()) {
        auto db = tb::Database::open(folder.path());
        ASSERT_TRUE(db);
        const QByteArray kept = readBytes(folder.file(c.target));
        QFile::remove(folder.file(c.target));
        ASSERT_TRUE(QDir(folder.path()).mkdir(c.target));
        const auto before = snapshot();
        const tb::Status s = c.run(*db.value(), program.path());
        ASSERT_FALSE(s) << c.name;
        EXPECT_EQ(s.error().number, tb::kErrorPathAccess) << c.name;
        EXPECT_EQ((*db)->count(), 3) << c.name;
        EXPECT_EQ(snapshot(), before) << c.name;
        QDir(folder.path()).rmdir(c.target);
        if (!kept.isEmpty())
            writeBytes(folder.file(c.target), kept);
    }
    // A folder in place of the records is no empty database: its count is never rewritten.
    QFile::remove(folder.file("lesfiches.dat"));
    QDir(folder.path()).mkdir("lesfiches.dat");
    const auto refused = tb::Database::open(folder.path());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().number, tb::kErrorPathAccess);
    EXPECT_FALSE(tb::Database::open(folder.path(), tb::Database::Access::ReadOnly));
    EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "3\r\n");
}

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

    // Left meanwhile by hand: the new card still starts bare, and takes the photo given with it.
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
    // The blank record a deletion leaves past the count is no card, whether the count is sound or garbled.
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

TEST_F(HalfDoneChanges, AKilledWritersTemporaryFileGoesAndOneBeingWrittenStays)
{
    writeBytes(base.file("export.txt.tmp-Ab12Cd"), "moitié");
    writeBytes(base.file("autre.csv.tmp-Zz99Yy"), "en cours");
    const int held = ::open(QFile::encodeName(base.file("autre.csv.tmp-Zz99Yy")).constData(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    auto db = open();
    EXPECT_FALSE(QFile::exists(base.file("export.txt.tmp-Ab12Cd")));
    writeBytes(base.file("export.txt.tmp-Ab12Cd"), "moitié");
    ASSERT_TRUE(tb::writeExport(db->store(), 2, tb::ExportFormat::Fields));
    ::close(held);
    EXPECT_FALSE(QFile::exists(base.file("export.txt.tmp-Ab12Cd")));
    EXPECT_TRUE(QFile::exists(base.file("autre.csv.tmp-Zz99Yy")));
}

TEST_F(HalfDoneChanges, PipesAndLinksOutOfTheFolderAreNeitherWaitedOnNorWrittenThrough)
{
    // A pipe is answered at once, as a file and as a picture.
    ASSERT_EQ(::mkfifo(QFile::encodeName(base.file("tube")).constData(), 0644), 0);
    const auto piped = tb::readFile(base.file("tube"));
    ASSERT_FALSE(piped);
    EXPECT_EQ(piped.error().message(), "Erreur n° 75 : erreur d'accès au fichier (tube n'est pas un fichier ordinaire)");
    EXPECT_TRUE(tb::loadMapImage(base.file("tube")).isNull());
    EXPECT_TRUE(tb::loadPreview(base.file("tube"), QSize(50, 50)).isNull());

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
