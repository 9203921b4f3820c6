// Every command that writes, on a read-only database folder, under a file-size
// limit (a full disk) and with its file replaced by a folder: the error number
// is told, the files stay as they were, a failure never passes for success.
#include "core/base/safe_write.h"
#include "core/db/database.h"
#include "core/journals/journal.h"
#include "core/lists/exports.h"
#include "core/tools/note_text.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace testing_support;

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
        {"collections", "R1.txt", [](tb::Database& db, const QString&) -> tb::Status {
             auto j = tb::Journal::open(db, 1, tb::JournalKind::Collections);
             return j ? j->add(QStringLiteral("150,00 le 12/03/26 ") + QString(200, u'.')) : j.status();
         }},
        {"note", "F1.txt",
         [](tb::Database& db, const QString&) { return tb::saveNote(db.file("F1.txt"), QString(500, u'n')); }},
        {"export", "export.txt", [](tb::Database& db, const QString&) {
             return tb::writeExport(db.store(), db.count(), tb::ExportFormat::Fields).status();
         }},
        {"addresses", "adresses.txt", [](tb::Database& db, const QString&) {
             return tb::writeExport(db.store(), db.count(), tb::ExportFormat::Addresses).status();
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

    void setWritable(bool writable)
    {
        const mode_t file = writable ? 0644 : 0444;
        for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
            ::chmod(QFile::encodeName(folder.file(name)).constData(), file);
        ::chmod(QFile::encodeName(folder.path()).constData(), writable ? 0755 : 0555);
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

}  // namespace

TEST_F(FailedWritesTest, OnAReadOnlyDatabaseFolderEveryWriteSaysErrorSeventyAndChangesNothing)
{
    // Another user may read the folder, not write it (root gives its rights up).
    ::chmod(QFile::encodeName(program.path()).constData(), 0755);
    for (const WriteCommand& c : writeCommands()) {
        const auto before = snapshot();
        setWritable(false);
        const int outcome = codeWithoutRootRights([&] { return runCommand(c, tb::kErrorPermission); });
        setWritable(true);
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
