// Kills a worker that changes a database (stores, creations, deletions,
// archiving, journal, note, captions, export) at random moments, again and
// again; after each kill the database must pass the check and hold every
// acknowledged change (the change in progress may be there or not).
// TABULON_CRASH_KILLS sets the number of kills (1000 by default).
#include "cli/cli.h"
#include "crash_state.h"
#include "support/fixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace testing_support;

namespace {

struct Outcome {
    QByteArray ready, acknowledged, pending;
    QString failure;
    int changes = 0;
};

Outcome parse(const QByteArray& output)
{
    Outcome o;
    QByteArray started;
    for (const QByteArray& line : output.split('\n')) {
        if (line.startsWith("ready ")) {
            o.ready = o.acknowledged = line.mid(6);
        } else if (line.startsWith("begin ")) {
            started = line.mid(6);
            o.pending = started;
        } else if (line == "ack") {
            o.acknowledged = started;
            o.pending.clear();
            ++o.changes;
        } else if (line.startsWith("fail ")) {
            o.failure = QString::fromUtf8(line.mid(5));
        }
    }
    return o;
}

// The check of tabulon-cli, its report kept aside unless it finds errors.
int checkQuietly(const QString& folder, const QString& programFolder, QByteArray* report)
{
    const QString path = QDir::temp().filePath(QStringLiteral("tabulon-crash-check-%1.txt").arg(::getpid()));
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int to = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(to, STDOUT_FILENO);
    ::close(to);
    int code;
    {
        cli::Output out;
        code = cli::checkDatabase(folder, programFolder, out);
    }
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    *report = readBytes(path);
    QFile::remove(path);
    return code;
}

}  // namespace

TEST(CrashTest, KillsAtAnyMomentLoseNoAcknowledgedChangeAndLeaveASoundDatabase)
{
    const int kills = qEnvironmentVariableIsSet("TABULON_CRASH_KILLS") ? qEnvironmentVariableIntValue("TABULON_CRASH_KILLS")
                                                                        : 1000;
    TempProgramFolder program;
    auto created = tb::Database::create(program.path(), QStringLiteral("Crash"));
    ASSERT_TRUE(created);
    const QString folder = created.value()->folder();
    for (int k = 0; k < 5; ++k)
        ASSERT_TRUE(created.value()->createCard(makeCard("DEPART" + QString::number(k), "Anne", 3, 10 * k, 20)));
    QByteArray current = crash::readState(*created.value()).digest();
    created = tb::Error{};

    QRandomGenerator random(20261207);
    QElapsedTimer timer;
    timer.start();
    int changes = 0, changesInProgress = 0, finishedByOpening = 0;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TABULON_NO_SYNC));
    // A sanitized worker accepts the preloaded library in front of its runtime.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    // One process forks a worker for each kill: no start-up between kills.
    QProcess workers;
    workers.setProcessEnvironment(environment);
    workers.start(QStringLiteral(TABULON_CRASH_WORKER), {"fork", folder});
    ASSERT_TRUE(workers.waitForStarted());
    QByteArray pending;
    // The value of the whole line that starts with prefix, once it has come.
    const auto line = [&](const QByteArray& prefix) -> std::optional<QByteArray> {
        for (qsizetype at = 0; (at = pending.indexOf(prefix, at)) >= 0; ++at) {
            const qsizetype end = pending.indexOf('\n', at);
            if ((at == 0 || pending[at - 1] == '\n') && end >= 0)
                return pending.mid(at + prefix.size(), end - at - prefix.size());
        }
        return std::nullopt;
    };
    const auto readUntil = [&](auto done) {
        while (!done() && workers.waitForReadyRead(10000))
            pending += workers.readAllStandardOutput();
        return done();
    };
    for (int kill = 0; kill < kills; ++kill) {
        pending.clear();
        workers.write(QByteArray::number(random.generate()) + '\n');
        ASSERT_TRUE(readUntil([&] { return (line("pid ") && line("ready ")) || line("dead"); })) << pending.constData();
        ASSERT_FALSE(line("dead")) << pending.constData();
        const pid_t pid = pid_t(line("pid ")->toLongLong());
        QThread::usleep(random.bounded(15000));
        ::kill(pid, SIGKILL);
        ASSERT_TRUE(readUntil([&] { return bool(line("dead")); })) << pending.constData();
        const QByteArray output = pending;
        const Outcome o = parse(output);
        ASSERT_TRUE(o.failure.isEmpty()) << "kill " << kill << ": " << o.failure.toStdString();
        ASSERT_EQ(o.ready, current) << "kill " << kill << "\n" << output.constData();
        changes += o.changes;

        // Opened again as Tabulon opens it: the dead worker's lock is taken
        // over and a deletion cut short is finished.
        {
            auto db = tb::Database::open(folder);
            ASSERT_TRUE(db) << "kill " << kill << ": " << db.error().message().toStdString();
            ASSERT_EQ(db.value()->countCorrection(), QString()) << "kill " << kill;
            current = crash::readState(*db.value()).digest();
        }
        if (current != o.acknowledged) {
            ASSERT_FALSE(o.pending.isEmpty()) << "kill " << kill << ": an acknowledged change is missing";
            ASSERT_EQ(current, o.pending) << "kill " << kill << ": neither before nor after the change in progress";
            ++finishedByOpening;
        }
        changesInProgress += !o.pending.isEmpty();
        QByteArray report;
        ASSERT_EQ(checkQuietly(folder, program.path(), &report), cli::kDone) << "kill " << kill << ":\n"
                                                                             << report.constData();
    }
    workers.closeWriteChannel();
    workers.waitForFinished();
    std::printf("%d kills in %.1f s, %d acknowledged changes, %d kills during a change (%d of them found done)\n",
                kills, timer.elapsed() / 1000.0, changes, changesInProgress, finishedByOpening);
}
