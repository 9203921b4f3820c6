// What the program finds around it: the screen, database names, its program
// folder, the programs it starts and the web links it offers.
#include "core/base/value_files.h"
#include "core/db/database_files.h"
#include "core/db/program_folder.h"
#include "core/external/external_programs.h"
#include "core/external/start_up.h"
#include "fake_launcher.h"
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

TEST(ExternalPrograms, StoredPathLosesOnlyAFinalExeAndKeepsACommaWhole)
{
    EXPECT_EQ(tb::storedPathOf("/opt/ed/NOTEPAD.EXE"), "/opt/ed/NOTEPAD");
    EXPECT_EQ(tb::storedPathOf("/opt/ed/tool.Exe"), "/opt/ed/tool");
    EXPECT_EQ(tb::storedPathOf("/usr/bin/gimp"), "/usr/bin/gimp");
    EXPECT_EQ(tb::storedPathOf("/opt/a.exe.sh"), "/opt/a.exe.sh");

    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString odd = QStringLiteral("/opt/Éd, \"v2\"/-bin");
    ASSERT_TRUE(tb::storeProgramPath(folder, 4, odd));
    EXPECT_EQ(tb::storedProgram(folder, "LogBdd.txt"), odd);
    EXPECT_EQ(tb::programPath(folder, 4), odd);
    EXPECT_EQ(tb::programPath(folder, 7), QString());

    const QStringList lines = tb::programPathLines(folder);
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[0], "Logiciel traitement des feuilles EXCEL :");
    EXPECT_EQ(lines[2], " ");
    EXPECT_EQ(lines[9], "Logiciel traitement de bases de données :");
    EXPECT_EQ(lines[10], odd);
    EXPECT_EQ(lines[15], "Logiciel permettant l'utilisation du scanner");
    EXPECT_EQ(lines[16], QString());
}

TEST(ExternalPrograms, StartAloneAddsExeInAnyCaseOnlyWhereOnlyThatExistsAndNothingWithoutAProgram)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeBytes(folder + "base.EXE", "");
    FakeLauncher launcher;
    EXPECT_FALSE(tb::startAlone(launcher, QString()));
    EXPECT_TRUE(launcher.programs.isEmpty());
    ASSERT_TRUE(tb::startAlone(launcher, folder + "base"));
    ASSERT_TRUE(tb::startAlone(launcher, "/usr/bin/base"));
    ASSERT_EQ(launcher.programs.size(), 2);
    EXPECT_EQ(launcher.programs[0].program, folder + "base.EXE");
    EXPECT_TRUE(launcher.programs[0].args.isEmpty());
    EXPECT_EQ(launcher.programs[1].program, "/usr/bin/base");
}

TEST(WebLinks, DefaultsAndTheLinesOfToileTxt)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    tb::WebLinks links = tb::readWebLinks(folder);
    EXPECT_EQ(links.author, QUrl::fromLocalFile(folder + "help/index.html"));
    EXPECT_EQ(links.useful.toString(), "https://www.geoportail.gouv.fr/");
    EXPECT_EQ(links.contact.toString(QUrl::FullyEncoded), "mailto:?subject=Commentaires%20Tabulon");
    EXPECT_EQ(tb::mailtoUrl(QString()).toString(QUrl::FullyEncoded), "mailto:");

    writeBytes(folder + "toile.txt", "https://tabulon.example/\r\n\r\n  auteur@tabulon.example \r\n");
    links = tb::readWebLinks(folder);
    EXPECT_EQ(links.author.toString(), "https://tabulon.example/");
    EXPECT_EQ(links.useful.toString(), "https://www.geoportail.gouv.fr/");
    EXPECT_EQ(links.contact.toString(QUrl::FullyEncoded),
              "mailto:auteur@tabulon.example?subject=Commentaires%20Tabulon");
}
