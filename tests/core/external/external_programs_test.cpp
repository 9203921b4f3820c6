#include "core/base/value_files.h"
#include "core/external/external_programs.h"
#include "fake_launcher.h"
#include "fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(ExternalPrograms, StoredPathLosesOnlyAFinalExeAndKeepsACommaWhole)
{
    EXPECT_EQ(tb::storedPathOf(QStringLiteral("/opt/ed/NOTEPAD.EXE")), QStringLiteral("/opt/ed/NOTEPAD"));
    EXPECT_EQ(tb::storedPathOf(QStringLiteral("/opt/ed/tool.Exe")), QStringLiteral("/opt/ed/tool"));
    EXPECT_EQ(tb::storedPathOf(QStringLiteral("/usr/bin/gimp")), QStringLiteral("/usr/bin/gimp"));
    EXPECT_EQ(tb::storedPathOf(QStringLiteral("/opt/a.exe.sh")), QStringLiteral("/opt/a.exe.sh"));

    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString odd = QStringLiteral("/opt/Éd, \"v2\"/-bin");
    ASSERT_TRUE(tb::storeProgramPath(folder, 4, odd));
    EXPECT_EQ(tb::storedProgram(folder, QStringLiteral("LogBdd.txt")), odd);
    EXPECT_EQ(tb::programPath(folder, 4), odd);
    EXPECT_EQ(tb::programPath(folder, 7), QString());

    const QStringList lines = tb::programPathLines(folder);
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[0], QStringLiteral("Logiciel traitement des feuilles EXCEL :"));
    EXPECT_EQ(lines[2], QStringLiteral(" "));
    EXPECT_EQ(lines[9], QStringLiteral("Logiciel traitement de bases de données :"));
    EXPECT_EQ(lines[10], odd);
    EXPECT_EQ(lines[15], QStringLiteral("Logiciel permettant l'utilisation du scanner"));
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
    ASSERT_TRUE(tb::startAlone(launcher, QStringLiteral("/usr/bin/base")));
    ASSERT_EQ(launcher.programs.size(), 2);
    EXPECT_EQ(launcher.programs[0].program, folder + "base.EXE");
    EXPECT_TRUE(launcher.programs[0].args.isEmpty());
    EXPECT_EQ(launcher.programs[1].program, QStringLiteral("/usr/bin/base"));
}

TEST(WebLinks, DefaultsAndTheLinesOfToileTxt)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    tb::WebLinks links = tb::readWebLinks(folder);
    EXPECT_EQ(links.author, QUrl::fromLocalFile(folder + "help/index.html"));
    EXPECT_EQ(links.useful.toString(), QStringLiteral("https://www.geoportail.gouv.fr/"));
    EXPECT_EQ(links.contact.toString(QUrl::FullyEncoded), QStringLiteral("mailto:?subject=Commentaires%20Tabulon"));
    EXPECT_EQ(tb::mailtoUrl(QString()).toString(QUrl::FullyEncoded), QStringLiteral("mailto:"));

    writeBytes(folder + "toile.txt", "https://tabulon.example/\r\n\r\n  auteur@tabulon.example \r\n");
    links = tb::readWebLinks(folder);
    EXPECT_EQ(links.author.toString(), QStringLiteral("https://tabulon.example/"));
    EXPECT_EQ(links.useful.toString(), QStringLiteral("https://www.geoportail.gouv.fr/"));
    EXPECT_EQ(links.contact.toString(QUrl::FullyEncoded),
              QStringLiteral("mailto:auteur@tabulon.example?subject=Commentaires%20Tabulon"));
}
