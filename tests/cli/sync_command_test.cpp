// tabulon-cli sync: the address kept with the database, the failure said and its exit code.
#include "support/cli_run.h"
#include "support/fixtures.h"
#include "support/radicale_server.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

CliRun sync(const QStringList& args)
{
    qputenv("TABULON_CARDDAV_PASSWORD", "secret");
    return runCli(QStringList{QStringLiteral("sync")} + args);
}

}  // namespace

TEST(SyncCommand, KeepsTheAddressGivenOnceAndFailsWithTheServersReasonWhenItIsDown)
{
    TempProgramFolder program;
    TempDatabase db(program.path());
    writeCards(db.path(), {makeCard("DURAND", "Zoé", 1, 100, 100, "17000", "La Rochelle")});
    CliRun r = sync({db.path()});
    EXPECT_EQ(r.exit, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("--url URL --user NOM"))) << r.err.toStdString();

    // Port 1 on the loopback: nothing listens there.
    r = sync({db.path(), QStringLiteral("--url"), QStringLiteral("http://127.0.0.1:1/"), QStringLiteral("--user"),
              QStringLiteral("marie")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Erreur de synchronisation : "))) << r.err.toStdString();
    const CliRun again = sync({db.path()});
    EXPECT_EQ(again.exit, 1) << again.err.toStdString();
    EXPECT_EQ(again.err, r.err);
    EXPECT_TRUE(sync({QStringLiteral("--help")})
                    .out.contains(QStringLiteral("sync BASE [--url URL --user NOM] [--insecure-certificate SHA256]")));
}

TEST(SyncCommand, SendsTheCardsAndSaysWhatItDid)
{
    TB_START_RADICALE(server);
    const QUrl book = server.createAddressBook(QStringLiteral("marie"), QStringLiteral("secret"));
    ASSERT_FALSE(book.isEmpty());
    TempProgramFolder program;
    TempDatabase db(program.path());
    writeCards(db.path(), {makeCard("DURAND", "Zoé", 1, 100, 100, "17000", "La Rochelle"),
                           makeCard("MARTIN", "Paul", 2, 120, 100, "75001", "Paris")});
    const CliRun r = sync({db.path(), QStringLiteral("--url"), book.toString(), QStringLiteral("--user"),
                           QStringLiteral("marie")});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 fiche(s) envoyée(s)\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("0 en conflit\n")));
    EXPECT_TRUE(sync({db.path()}).out.contains(QStringLiteral("0 fiche(s) envoyée(s)\n")));
}
