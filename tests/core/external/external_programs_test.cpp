// What the program finds around it: the screen, database names, its program
// folder, the programs it starts, the web links it offers and where file
// choosers start (where the user keeps such files, then where the last one of a kind went).
#include "core/base/value_files.h"
#include "core/db/database_files.h"
#include "core/db/program_folder.h"
#include "core/external/external_programs.h"
#include "core/external/start_folders.h"
#include "core/external/start_up.h"
#include "fake_launcher.h"
#include "fixtures.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(StartUp, ScreenMessageOnlyBelow800By600UnsafeDatabaseNamesRefusedAndAFolderNeedsCountAndMap)
{
    EXPECT_EQ(tb::screenCheckMessage(800, 600), QString());
    EXPECT_EQ(tb::screenCheckMessage(799, 600),
              QStringLiteral("Il est souhaitable de choisir une résolution d'écran de 800 x 600, la résolution "
                             "actuelle est  799 x 600"));
    EXPECT_FALSE(tb::screenCheckMessage(800, 599).isEmpty());

    EXPECT_TRUE(tb::isSafeDatabaseName("Clients 2026 été"));
    for (const char* bad : {"", "   ", "a/b", "..", "x..y", "a\\b", "a\tb"})
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
    const QString exe = dataDir();
    EXPECT_EQ(tb::resolveProgramFolder(QString(), exe), exe);  // the data beside the program
    QDir().mkpath(folder);
    writeBytes(folder + "/StrFic.txt", "\"mien\"\r\n");
    EXPECT_EQ(tb::resolveProgramFolder(folder, exe), folder + u'/');
    EXPECT_TRUE(QFile::exists(folder + "/frc.gif") && QFile::exists(folder + "/help/index.html"));
    EXPECT_EQ(readBytes(folder + "/StrFic.txt"), "\"mien\"\r\n");  // the user's own stays

    // A build folder holds more than data: only the data files go.
    const QString build = dir.path() + "/build/", other = dir.path() + "/autre";
    QDir().mkpath(build);
    for (const QString& name : QDir(exe).entryList(QDir::Files))
        QFile::copy(exe + name, build + name);
    const QStringList extras = {"CMakeCache.txt", "tabulon", "tbaide", "libtabulon_core.a"};
    for (const QString& extra : extras)
        writeBytes(build + extra, "x");
    tb::resolveProgramFolder(other, build);
    EXPECT_TRUE(QFile::exists(other + "/frc.gif"));
    for (const QString& extra : extras)
        EXPECT_FALSE(QFile::exists(other + "/" + extra)) << extra.toStdString();
}

TEST(ExternalPrograms, StoredPathKeepsACommaWholeAndStartAloneAddsExeOnlyWhereOnlyThatExists)
{
    EXPECT_EQ(tb::storedPathOf("/opt/ed/tool.Exe"), "/opt/ed/tool");
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
    EXPECT_EQ(lines[9], "Logiciel traitement de bases de données :");  // each program under its caption
    EXPECT_EQ(lines[10], odd);

    // Starting alone adds ".exe" in any case only where only that exists, and nothing without a program.
    writeBytes(folder + "base.EXE", "");
    FakeLauncher launcher;
    EXPECT_FALSE(tb::startAlone(launcher, QString()));
    EXPECT_TRUE(launcher.programs.isEmpty());
    ASSERT_TRUE(tb::startAlone(launcher, folder + "base"));
    ASSERT_TRUE(tb::startAlone(launcher, "/usr/bin/base"));
    ASSERT_EQ(launcher.programs.size(), 2);
    EXPECT_EQ(launcher.programs[0].program + launcher.programs[0].args.join(u' '), folder + "base.EXE");
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
    EXPECT_EQ(links.useful.toString(), "https://www.geoportail.gouv.fr/");  // its empty line keeps the default
    EXPECT_EQ(links.contact.toString(QUrl::FullyEncoded),
              "mailto:auteur@tabulon.example?subject=Commentaires%20Tabulon");
}

TEST(ChooserStartFolders, PicturesDocumentsThenTheLastFolderOfEachKind)
{
    // The desktop's own folders (XDG user dirs) pointing into a temporary folder.
    QTemporaryDir tmp;
    const QString documents = tmp.filePath(QStringLiteral("Mes documents")), pictures = tmp.filePath("Images");
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/user-dirs.dirs";
    QDir().mkpath(documents);
    QDir().mkpath(pictures);
    writeBytes(config, ("XDG_DOCUMENTS_DIR=\"" + documents + "\"\nXDG_PICTURES_DIR=\"" + pictures + "\"\n").toUtf8());
    const auto removeConfig = qScopeGuard([&] { QFile::remove(config); });
    EXPECT_EQ(tb::picturesFolder(), pictures);
    EXPECT_EQ(tb::documentsFolder(), documents);
    for (tb::ChooserKind kind : {tb::ChooserKind::Import, tb::ChooserKind::Export, tb::ChooserKind::Backup})
        EXPECT_EQ(tb::startFolder(kind), documents);

    const QString exports = tmp.filePath(QStringLiteral("Envois"));
    const QString backups = tmp.filePath(QStringLiteral("Clé USB"));
    QDir().mkpath(exports);
    QDir().mkpath(backups);
    tb::rememberChosen(tb::ChooserKind::Export, exports + QStringLiteral("/Clients.vcf"));  // a file not yet written
    tb::rememberChosen(tb::ChooserKind::Backup, backups);
    EXPECT_EQ(tb::startFolder(tb::ChooserKind::Export), exports);
    EXPECT_EQ(tb::startFolder(tb::ChooserKind::Backup), backups);

    // A folder gone (a key taken out) is no start; nor a desktop folder that does not exist.
    QDir(backups).removeRecursively();
    EXPECT_EQ(tb::lastFolder(tb::ChooserKind::Backup), QString());
    EXPECT_EQ(tb::startFolder(tb::ChooserKind::Backup), documents);
    QDir(documents).removeRecursively();
    EXPECT_EQ(tb::documentsFolder(), QDir::homePath());
}
