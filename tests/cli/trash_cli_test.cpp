// tabulon-cli trash: the entries listed, one restored, check counting them.
#include "core/db/database.h"
#include "support/fixtures.h"

#include <QDate>
#include <QProcess>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {
QString runCli(const QStringList& args, int* exit)
{
    QProcess p;
    p.start(QStringLiteral(TABULON_CLI), args);
    p.waitForFinished(120000);
    *exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}
}  // namespace

TEST(TrashCommand, ListsTheDeletedCardsAndRestoresOneAsTheNextNumber)
{
    TempProgramFolder program;
    TempDatabase folder(program.path());
    writeCards(folder.path(), {makeCard("DUPONT", "Jean", 1, 10, 10, "75001", "PARIS"),
                               makeCard("MARTIN", "Anne", 2, 20, 20, "69001", "LYON")});
    ASSERT_TRUE(tb::Database::open(folder.path()).value()->deleteCard(1));
    int exit = -1;
    const QString listed = runCli({"trash", folder.path()}, &exit);
    EXPECT_EQ(exit, 0);
    const QString day = QDate::currentDate().toString("dd/MM/yyyy");
    EXPECT_TRUE(listed.startsWith("1\t" + day + "\tDUPONT")) << listed.toStdString();
    EXPECT_EQ(listed.count(u'\n'), 1);
    EXPECT_EQ(runCli({"check", folder.path()}, &exit).contains("Corbeille : 1 fiche(s)."), true);
    EXPECT_EQ(runCli({"trash", folder.path(), "--restore", "1"}, &exit), "2\n");
    EXPECT_EQ(exit, 0);
    EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "2\r\n");
    EXPECT_EQ(runCli({"trash", folder.path()}, &exit), "");
    runCli({"trash", folder.path(), "--restore", "1"}, &exit);
    EXPECT_EQ(exit, 1);
}
