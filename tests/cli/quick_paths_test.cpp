// tabulon-cli counts and searches by itself, without the full command set, when
// the database needs nothing of the full opening: on every database, sound or
// not, it prints, says and exits exactly as the full command set does.
#include "core/db/database_lock.h"
#include "support/cli_run.h"
#include "support/fixtures.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QString runText(const char* program, const QStringList& args)
{
    const CliRun r = runCli(args, program);
    return QString::number(r.exit) + u'|' + r.out + u'|' + r.err;
}

TEST(QuickPaths, CountAndSearchAgreeWithTheFullCommandsOnSoundAndBrokenDatabases)
{
    TempProgramFolder program;
    TempDatabase db{program.path()};
    writeCards(db.path(), {makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE"),
                           makeCard("DUPONT", "Jean", 2, 450, 220, "75001", "PARIS")});
    const QString bare = db.path().chopped(1);
    const QString notADatabase = program.path() + "Vide";
    ASSERT_TRUE(QDir().mkpath(notADatabase));
    const QList<QStringList> commands = {
        {"count", db.path()},
        {"count", bare},
        {"count", db.path() + "../" + QDir(bare).dirName()},
        {"count", notADatabase},
        {"count", program.path()},
        {"search", bare, "--by", "nom", "DU"},
        {"search", "--by", "ville", bare, "PARIS"},
        {"search", bare, "--by", "rue", "X"},
        {"search", notADatabase, "--by", "nom", "DU"},
    };
    const auto expectSame = [&](const char* state) {
        for (const QStringList& args : commands) {
            SCOPED_TRACE(std::string(state) + ": " + args.join(u' ').toStdString());
            EXPECT_EQ(runText(TABULON_CLI, args), runText(TABULON_CLI_FULL, args));
        }
    };
    expectSame("sound");
    EXPECT_EQ(runText(TABULON_CLI, {"count", bare}), "0|2 fiche(s)\n|");
    {
        // Open in Tabulon: the reading commands run all the same.
        const auto lock = tb::lockDatabase(db.path());
        ASSERT_TRUE(lock.ok());
        expectSame("locked");
    }
    // Counts the quick path leaves to the full opening: its correction said.
    for (const QByteArray count : {"2abc", "\"2\"", "9", " +2 ", ""}) {
        writeBytes(db.file("NBFiches.dat"), count + "\r\n");
        expectSame(count.constData());
    }
    EXPECT_EQ(runText(TABULON_CLI, {"count", bare}), "0|2 fiche(s)\n|Attention : Le nombre de fiches a été corrigé : 2 fiche(s).\n");
    // Records that are a folder.
    writeBytes(db.file("NBFiches.dat"), "2\r\n");
    ASSERT_TRUE(QFile::remove(db.file("lesfiches.dat")));
    ASSERT_TRUE(QDir().mkdir(db.file("lesfiches.dat")));
    expectSame("records folder");
}

}  // namespace
