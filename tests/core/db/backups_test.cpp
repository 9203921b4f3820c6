// Backups: whole copies of a database folder, taken even while cards are
// being stored, never left half made, and opened again as a new database.
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/db/database_lock.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>
#include <atomic>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;

namespace {

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeCards(base.path(), {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 1, 20, 20)});
        db = std::move(tb::Database::open(base.path()).value());
    }
    QStringList backups() const { return QDir(where.path()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot); }
    TempProgramFolder program;
    TempDatabase base{program.path(), "BasePerso"};
    std::unique_ptr<tb::Database> db;
    QTemporaryDir where;
    const QDateTime when{QDate(2026, 12, 7), QTime(14, 5)};
};

// Every file of the folder, with its bytes.
std::map<QString, QByteArray> filesOf(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files[name] = readBytes(folder + u'/' + name);
    return files;
}

TEST_F(BackupTest, CopiesEveryFileIntoADatedFolderBesideTheDatabaseNeverInsideIt)
{
    writeBytes(base.file("suppression.txt"), "1\r\n2\r\n");
    const auto made = tb::backupToDatedFolder(*db, where.path(), when);
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, where.path() + QStringLiteral("/BasePerso 2026-12-07 14h05/"));
    // All but the lock of this program, which would keep the copy locked.
    auto files = filesOf(base.path());
    ASSERT_EQ(files.erase(tb::databaseLockName()), 1u);
    EXPECT_EQ(filesOf(*made), files);
    EXPECT_EQ(*tb::backupToDatedFolder(*db, program.path(), when), program.path() + "BasePerso 2026-12-07 14h05/");
    EXPECT_EQ(*tb::backupToDatedFolder(*db, where.path(), when), where.path() + "/BasePerso 2026-12-07 14h05 (2)/");

    // Into itself it would copy itself.
    ASSERT_TRUE(QDir().mkpath(base.file("Corbeille")));
    for (const QString& inside : {base.path().chopped(1), base.file("Corbeille")}) {
        const auto refused = tb::backupToDatedFolder(*db, inside, when);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().text, " Une sauvegarde ne peut pas être faite dans la base de données elle-même.");
    }
    EXPECT_TRUE(QDir(base.file("Corbeille")).isEmpty());
}

TEST_F(BackupTest, ABackupThatCannotBeWrittenOrWasKilledLeavesNoHalfCopy)
{
    const QString locked = where.path() + QStringLiteral("/protege");
    QDir().mkpath(locked);
    // Another user may read the database, not write the folder (root gives its rights up).
    for (const QString& open : {program.path(), where.path()})
        ::chmod(QFile::encodeName(open).constData(), 0755);
    ::chmod(QFile::encodeName(locked).constData(), 0555);
    const int refused = codeWithoutRootRights([&] {
        const auto made = tb::backupToDatedFolder(*db, locked, when);
        return made ? 0 : made.error().number == tb::kErrorPermission ? 1 : 2;
    });
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    EXPECT_EQ(refused, 1);
    EXPECT_TRUE(QDir(locked).isEmpty());
    QDir(locked).removeRecursively();
    EXPECT_EQ(tb::backupToDatedFolder(*db, where.path() + "/absent", when).error().number, tb::kErrorPathNotFound);

    // What a killed backup and a killed restore left goes at the next one.
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const QString killed = ".BasePerso 2026-12-07 14h05.inachevee-" + QString::number(child);
    for (const QString& folder : {where.path() + u'/' + killed, program.path() + killed}) {
        ASSERT_TRUE(QDir().mkpath(folder));
        writeBytes(folder + "/NBFiches.dat", "2\r\n");
    }
    const auto backup = tb::backupToDatedFolder(*db, where.path(), when);
    ASSERT_TRUE(backup);
    EXPECT_EQ(backups(), QStringList{"BasePerso 2026-12-07 14h05"});
    ASSERT_TRUE(tb::restoreBackup(*backup, program.path()));
    EXPECT_FALSE(QFileInfo::exists(program.path() + killed));
    // Without room, no copy is there at all, hidden or not.
    EXPECT_FALSE(underFileSizeLimit(700, [&] { return bool(tb::backupToDatedFolder(*db, where.path(), when)); }));
    EXPECT_EQ(backups().size(), 1);
}

// Each backup opens with a count that its records hold and the cards as
// stored: whatever point of a store it was taken at.
void expectWhole(const QString& folder, long long atLeast)
{
    auto copy = tb::Database::open(folder, tb::Database::Access::ReadOnly);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy.value()->countCorrection().isEmpty()) << folder.toStdString();
    EXPECT_GE(copy.value()->count(), atLeast);
    for (long long n = 3; n <= copy.value()->count(); ++n)
        EXPECT_EQ(copy.value()->card(n)->field(3).trimmed(), QStringLiteral("N%1").arg(n)) << folder.toStdString();
}

TEST_F(BackupTest, ABackupTakenWhileCardsAreBeingStoredIsWhole)
{
    // Within the program: a backup taken at each stored card.
    int taken = 0;
    QObject::connect(db.get(), &tb::Database::cardStored, [&](long long n) {
        const QString to = where.path() + QStringLiteral("/pendant%1/").arg(taken++);
        ASSERT_TRUE(db->backup(to));
        expectWhole(to, n - 1);
    });
    for (int n = 3; n <= 5; ++n)
        ASSERT_TRUE(db->createCard(makeCard(QStringLiteral("N%1").arg(n), "x", 1, n, n)));
    EXPECT_EQ(taken, 3);

    // Another program storing cards at the same time.
    std::atomic<bool> done = false;
    QThread* writer = QThread::create([&] {
        auto other = tb::Database::open(base.path());
        for (int n = 6; n <= 60; ++n)
            (void)other.value()->createCard(makeCard(QStringLiteral("N%1").arg(n), "x", 1, n, n));
        done = true;
    });
    writer->start();
    int copies = 0;
    while (!done || copies < 3) {
        const QString to = where.path() + QStringLiteral("/concurrent%1/").arg(copies++);
        ASSERT_TRUE(db->backup(to));
        expectWhole(to, 5);
    }
    writer->wait();
    delete writer;
}

TEST_F(BackupTest, RestoringOpensACopyOfTheBackupAsANewDatabaseAndNeverWritesTheBackup)
{
    const auto made = tb::backupToDatedFolder(*db, where.path(), QDateTime(QDate(2026, 1, 2), QTime(3, 4)));
    ASSERT_TRUE(made);
    const auto before = filesOf(*made);
    const auto restored = tb::restoreBackup(*made, program.path());
    ASSERT_TRUE(restored);
    EXPECT_EQ(*restored, program.path() + QStringLiteral("BasePerso 2026-01-02 03h04/"));
    auto opened = tb::Database::open(*restored);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.value()->count(), 2);
    ASSERT_TRUE(opened.value()->createCard(makeCard("TROIS", "c", 1, 1, 1)));
    EXPECT_EQ(filesOf(*made), before);

    const auto refused = tb::restoreBackup(where.path(), program.path());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().text, " Ce dossier ne contient pas de base de données Tabulon !");
}

}  // namespace
