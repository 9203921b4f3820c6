#include "core/db/database_files.h"
#include "core/db/program_folder.h"
#include "core/external/start_up.h"
#include "fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(ScreenCheck, MessageOnlyBelow800By600)
{
    EXPECT_EQ(tb::screenCheckMessage(800, 600), QString());
    EXPECT_EQ(tb::screenCheckMessage(800, 599),
              QStringLiteral("Il est souhaitable de choisir une résolution d'écran de 800 x 600, la résolution "
                             "actuelle est  800 x 599"));
    EXPECT_TRUE(tb::screenCheckMessage(799, 600).endsWith("est  799 x 600"));
}

TEST(DatabaseNames, UnsafeNamesRefusedAndFolderNeedsCountAndMap)
{
    EXPECT_TRUE(tb::isSafeDatabaseName("Clients 2026 été"));
    for (const char* bad : {"", "   ", "a/b", "..", "x..y", "a\\b", "a\tb", "\n"})
        EXPECT_FALSE(tb::isSafeDatabaseName(QString::fromUtf8(bad))) << bad;

    QTemporaryDir dir;
    const QString f = dir.path() + u'/';
    writeBytes(f + "NBFiches.dat", "0\r\n");
    EXPECT_FALSE(tb::isDatabaseFolder(f));
    writeBytes(f + "carte.txt", "x\r\n");
    EXPECT_TRUE(tb::isDatabaseFolder(f));
}

TEST(ProgramFolder, NamedFolderReceivesTheDataItLacks)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/portable";
    const QString exe = testing_support::dataDir();
    EXPECT_EQ(tb::resolveProgramFolder(QString(), exe), exe);  // the data beside the program
    QDir().mkpath(folder);
    testing_support::writeBytes(folder + "/StrFic.txt", "\"mien\"\r\n");
    EXPECT_EQ(tb::resolveProgramFolder(folder, exe), folder + u'/');
    EXPECT_TRUE(QFile::exists(folder + "/frc.gif"));
    EXPECT_TRUE(QFile::exists(folder + "/c01a20.txt"));
    EXPECT_EQ(testing_support::readBytes(folder + "/StrFic.txt"), "\"mien\"\r\n");  // the user's own stays
    EXPECT_TRUE(QFile::exists(folder + "/help/index.html"));

    // A build folder holds more than data: only the data files go.
    const QString build = dir.path() + "/build/";
    QDir().mkpath(build);
    for (const QString& name : QDir(exe).entryList(QDir::Files))
        QFile::copy(exe + name, build + name);
    for (const char* extra : {"CMakeCache.txt", "tabulon", "tbaide", "libtabulon_core.a"})
        testing_support::writeBytes(build + extra, "x");
    const QString other = dir.path() + "/autre";
    tb::resolveProgramFolder(other, build);
    EXPECT_TRUE(QFile::exists(other + "/frc.gif"));
    for (const char* extra : {"CMakeCache.txt", "tabulon", "tbaide", "libtabulon_core.a"})
        EXPECT_FALSE(QFile::exists(other + "/" + extra)) << extra;
}
