// Two programs at once: the lock of a database open for writing.
#include "core/db/database.h"
#include "support/fixtures.h"
#include "support/other_program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

const QString kAlreadyOpen = QStringLiteral(" Cette base de données est déjà ouverte par un autre programme Tabulon !");

struct DatabaseLockTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    void SetUp() override { writeCards(folder.path(), {makeCard("DUPONT", "Jean", 3, 10, 20)}); }
};

}  // namespace

TEST_F(DatabaseLockTest, AnotherProgramIsRefusedUntilTheHolderQuitsOrDies)
{
    {
        OtherProgram other(folder.path());
        ASSERT_TRUE(other.holding());
        writeBytes(folder.file("NBFiches.dat"), "x");  // a count an opening for writing would correct
        const auto refused = tb::Database::open(folder.path());
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().message(), kAlreadyOpen);
        EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "x");
        // Reading needs no lock and repairs nothing.
        auto reader = tb::Database::open(folder.path(), tb::Database::Access::ReadOnly);
        ASSERT_TRUE(reader);
        EXPECT_EQ((*reader)->count(), 1);
        EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "x");

        // A program killed with the database open leaves its lock: the next one takes it over.
        other.crash();
        EXPECT_TRUE(QFileInfo::exists(folder.file(".tabulon.lock")));
        auto db = tb::Database::open(folder.path());
        ASSERT_TRUE(db) << db.error().message().toStdString();
        EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "1\r\n");
        // ... and holds it in turn.
        OtherProgram second(folder.path());
        EXPECT_FALSE(second.holding());
    }
    // Every database of this program closed: the lock is gone, another program may open it.
    EXPECT_FALSE(QFileInfo::exists(folder.file(".tabulon.lock")));
    OtherProgram third(folder.path());
    EXPECT_TRUE(third.holding());
    third.quit();
    EXPECT_TRUE(tb::Database::open(folder.path()));
}

TEST_F(DatabaseLockTest, OneProgramMayOpenItsDatabaseAgainAndAnyCopyOfIt)
{
    auto first = tb::Database::open(folder.path());
    ASSERT_TRUE(first);
    auto again = tb::Database::open(folder.path() + "../" + QDir(folder.path()).dirName() + "/");
    ASSERT_TRUE(again);
    first = tb::Error{};
    EXPECT_TRUE(QFileInfo::exists(folder.file(".tabulon.lock")));  // still held by the second
    EXPECT_FALSE(OtherProgram(folder.path()).holding());

    // A copy of the folder made while it was open carries this program's lock.
    const QString copy = program.path() + "Copie/";
    QDir().mkdir(copy);
    for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
        QFile::copy(folder.file(name), copy + name);
    ASSERT_TRUE(QFileInfo::exists(copy + ".tabulon.lock"));
    EXPECT_TRUE(tb::Database::open(copy));
}

TEST_F(DatabaseLockTest, AnEmptyGarbledOrDeadLockIsTakenOverAndALiveOneIsNot)
{
    // Killed between making the lock and writing it; a file no Tabulon wrote;
    // a pipe. (A holder that died is taken over above.)
    for (const QByteArray& left : {QByteArray(), QByteArray("\x01\x02zz"), QByteArray("fifo")}) {
        if (left == "fifo")
            ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file(".tabulon.lock")).constData(), 0644), 0);
        else
            writeBytes(folder.file(".tabulon.lock"), left);
        {
            auto db = tb::Database::open(folder.path());
            ASSERT_TRUE(db) << left.toHex().constData();
            EXPECT_TRUE(readBytes(folder.file(".tabulon.lock")).startsWith(QByteArray::number(::getpid()) + '\n'));
            EXPECT_FALSE(OtherProgram(folder.path()).holding());
        }
        EXPECT_FALSE(QFileInfo::exists(folder.file(".tabulon.lock")));
    }
    // The lock is written whole under another name first: nothing else stays.
    OtherProgram other(folder.path());
    ASSERT_TRUE(other.holding());
    EXPECT_EQ(QDir(folder.path()).entryList({".tabulon.lock*"}, QDir::Files | QDir::Hidden | QDir::System),
              QStringList{".tabulon.lock"});
    EXPECT_FALSE(tb::Database::open(folder.path()));
}
