// Power cuts: a change the program reports as done is on the disk. Traced
// with strace: the record file is synced after a card is written, the folder
// after a rename, and a new card's record before the count that includes it.
#include "support/fixtures.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// The calls of one run: "pwrite64 /path", "fdatasync /path", "rename /to"...
QStringList traced(const QString& folder, const QString& what)
{
    const QString log = folder + QStringLiteral("../strace.log");
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The leak check cannot run under a tracer.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral("strace"), {"-f", "-y", "-s", "0", "-o", log, "-e",
                                       "trace=pwrite64,fdatasync,fsync,rename,renameat,renameat2",
                                       QStringLiteral(TABULON_CRASH_WORKER), "once", folder, what});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    static const QRegularExpression onFd(QStringLiteral("^(?:\\d+ +)?(\\w+)\\(\\d+<([^>]*)>"));
    static const QRegularExpression rename(QStringLiteral("^(?:\\d+ +)?rename\\w*\\(.*\"([^\"]*)\"\\) = 0"));
    QStringList calls;
    for (const QByteArray& line : readBytes(log).split('\n')) {
        const QString l = QString::fromUtf8(line);
        if (const auto m = rename.match(l); m.hasMatch())
            calls << QStringLiteral("rename ") + m.captured(1);
        else if (const auto f = onFd.match(l); f.hasMatch())
            calls << f.captured(1) + u' ' + f.captured(2);
    }
    return calls;
}

// Each call is found after the one before.
::testing::AssertionResult inOrder(const QStringList& calls, const QStringList& expected)
{
    qsizetype at = 0;
    for (const QString& e : expected)
        if ((at = calls.indexOf(e, at) + 1) == 0)
            return ::testing::AssertionFailure() << e.toStdString() << " missing in\n" << calls.join(u'\n').toStdString();
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(PowerCutTest, StoredCardsAndRenamedFilesAreSyncedInTheSafeOrder)
{
    if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
        GTEST_FAIL() << "strace manque (scripts/install-deps.sh l'installe)";
    TempProgramFolder program;
    TempDatabase base(program.path());
    writeCards(base.path(), {makeCard("DUPONT", "Jean", 3, 10, 20)});
    const QString folder = QDir(base.path()).canonicalPath();
    const QString records = folder + QStringLiteral("/lesfiches.dat");

    EXPECT_TRUE(inOrder(traced(base.path(), "store"), {"pwrite64 " + records, "fdatasync " + records}));
    EXPECT_TRUE(inOrder(traced(base.path(), "create"), {"pwrite64 " + records, "fdatasync " + records,
                                                        "rename " + folder + "/NBFiches.dat", "fsync " + folder}));
    EXPECT_TRUE(inOrder(traced(base.path(), "captions"), {"rename " + folder + "/StrFic.txt", "fsync " + folder}));
}
