// Kills a worker that changes a database (stores, creations, deletions,
// archiving, journal, note, captions, export, imports with photos, backups,
// restores) at random moments, again and again; after each kill the database
// must pass the check, hold every acknowledged change (the change in progress
// may be there or not) and no file of a number past its count, and every
// backup or restored copy in sight must be whole.
// Then each of creations, imports, deletions, backups and restores is killed
// before each of its steps in turn (syncs, renames, record writes...); a
// deleted card is then restored from the trash and must come back whole.
// TABULON_CRASH_KILLS sets the number of random kills (400 by default); past
// 1000, the steps are all killed at, not only a spread of them.
#include "cli/cli.h"
#include "crash_state.h"
#include "support/fixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

using namespace testing_support;

namespace {

struct Outcome {
    QByteArray ready, acknowledged, pending, pendingKind;
    QList<QByteArray> begun;  // the states of the changes begun
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
            const QList<QByteArray> words = line.mid(6).split(' ');
            o.pending = started = words.value(0);
            o.pendingKind = words.value(1);
            o.begun << started;
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

// The check of tabulon-cli, its report kept aside.
int checkQuietly(const QString& folder, const QString& programFolder, std::string* report)
{
    ::testing::internal::CaptureStdout();
    int code;
    {
        cli::Output out;
        code = cli::checkDatabase(folder, programFolder, out);
    }
    *report = ::testing::internal::GetCapturedStdout();
    return code;
}

// A side file of a card number past count, or "".
QString fileBeyond(const QString& folder, long long count)
{
    static const QRegularExpression side(QStringLiteral("^(f|r|i|m|photo|dtxta|dtxtb|scana|scanb)(\\d+)\\.[a-z0-9]+$"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = side.match(name);
        if (m.hasMatch() && m.captured(2).toLongLong() > count)
            return name;
    }
    return {};
}

// Each copy in sight in folder (at most one) is a whole database in a state
// the worker acknowledged at some time.
::testing::AssertionResult copiesWhole(const QString& folder, const QSet<QByteArray>& states)
{
    const QStringList copies = crash::visibleCopies(folder);
    if (copies.size() > 1)
        return ::testing::AssertionFailure() << copies.size() << " copies in " << folder.toStdString();
    for (const QString& copy : copies) {
        auto db = tb::Database::open(copy, tb::Database::Access::ReadOnly);
        if (!db)
            return ::testing::AssertionFailure() << copy.toStdString() << ": " << db.error().message().toStdString();
        if (!(*db)->countCorrection().isEmpty() || !fileBeyond(copy, (*db)->count()).isEmpty())
            return ::testing::AssertionFailure() << copy.toStdString() << " not whole";
        if (!states.contains(crash::readState(**db).digest()))
            return ::testing::AssertionFailure() << copy.toStdString() << " holds no state the database had";
    }
    return ::testing::AssertionSuccess();
}

// The cards of state with their journals and notes, in no order.
QMultiMap<QByteArray, QByteArray> cardsOf(const crash::State& state)
{
    QMultiMap<QByteArray, QByteArray> cards;
    for (size_t k = 0; k < state.records.size(); ++k)
        cards.insert(state.records[k], state.files[k].memento.join(u'\n').toUtf8() + '\0' + state.files[k].note.toUtf8()
                                           + char(state.files[k].photo));
    return cards;
}

int killsWanted()
{
    return qEnvironmentVariableIsSet("TABULON_CRASH_KILLS") ? qEnvironmentVariableIntValue("TABULON_CRASH_KILLS") : 400;
}

// A database of cards, changed by workers killed again and again.
struct CrashTest : ::testing::Test {
    TempProgramFolder program;
    QString folder;
    QByteArray current;        // the state found after the last kill
    QSet<QByteArray> states;   // every state the database went through
    int finishedByOpening = 0;

    void startWith(int cards)
    {
        auto created = tb::Database::create(program.path(), QStringLiteral("Crash"));
        ASSERT_TRUE(created);
        for (int k = 0; k < cards; ++k)
            ASSERT_TRUE(created.value()->createCard(makeCard("DEPART" + QString::number(k), "Anne", 3, 10 * k, 20)));
        current = crash::readState(*created.value()).digest();
        states = {current};
        folder = created.value()->folder();
    }

    // Syncs skipped, steps counted.
    void start(QProcess& worker, const QStringList& args)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TABULON_NO_SYNC));
        // A sanitized worker accepts the preloaded library in front of its runtime.
        environment.insert(QStringLiteral("ASAN_OPTIONS"), environment.value(QStringLiteral("ASAN_OPTIONS"))
                                                               + QStringLiteral(":verify_asan_link_order=0"));
        worker.setProcessEnvironment(environment);
        worker.start(QStringLiteral(TABULON_CRASH_WORKER), QStringList{args[0], folder, program.path()} + args.mid(1));
    }

    // After a kill, the database opened again as Tabulon opens it (the dead
    // worker's lock taken over, a deletion cut short finished) holds the state
    // before or after the change in progress, nothing of a number past its
    // count, and passes the check; every copy in sight is whole.
    void expectSoundAfterKill(const Outcome& o)
    {
        ASSERT_TRUE(o.failure.isEmpty()) << o.failure.toStdString();
        ASSERT_EQ(o.ready, current);
        for (const QByteArray& state : o.begun)
            states.insert(state);
        {
            auto db = tb::Database::open(folder);
            ASSERT_TRUE(db) << db.error().message().toStdString();
            current = crash::readState(*db.value()).digest();
            // Only cards a creation had written whole are counted in.
            if (!db.value()->countCorrection().isEmpty())
                ASSERT_EQ(current, o.pending) << db.value()->countCorrection().toStdString();
            ASSERT_EQ(fileBeyond(folder, db.value()->count()), QString());
        }
        if (current != o.acknowledged) {
            ASSERT_FALSE(o.pending.isEmpty()) << "an acknowledged change is missing";
            ASSERT_EQ(current, o.pending) << "neither before nor after the change in progress";
            ++finishedByOpening;
        }
        ASSERT_TRUE(copiesWhole(crash::backupsFolder(program.path()), states));
        ASSERT_TRUE(copiesWhole(crash::restoresFolder(program.path()), states));
        std::string report;
        ASSERT_EQ(checkQuietly(folder, program.path(), &report), cli::kDone) << report;
    }

    // A deletion cut short is either undone, the trash as it was, or done with
    // the card in the trash: restored from there, it comes back whole.
    void expectDeletedCardRestoredWhole(const crash::State& before, int* restored)
    {
        auto db = tb::Database::open(folder);
        ASSERT_TRUE(db);
        if (db.value()->count() == qsizetype(before.records.size()))
            return;
        const auto entries = db.value()->trash().entries();
        ASSERT_TRUE(entries && !entries->empty());
        ASSERT_TRUE(db.value()->restoreFromTrash(entries->front().number));
        const crash::State after = crash::readState(*db.value());
        EXPECT_EQ(cardsOf(after), cardsOf(before));
        current = after.digest();
        ++*restored;
    }
};

}  // namespace

TEST_F(CrashTest, KillsAtAnyMomentLoseNoAcknowledgedChangeAndLeaveASoundDatabase)
{
    const int kills = killsWanted();
    startWith(5);
    QRandomGenerator random(20261207);
    QElapsedTimer timer;
    timer.start();
    int changes = 0, changesInProgress = 0;
    QMap<QByteArray, int> killsDuring;  // by kind of change
    // One process forks a worker for each kill: no start-up between kills.
    QProcess workers;
    start(workers, {"fork"});
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
    // A slow disk makes a worker slow, never wrong: waits are long.
    const auto readUntil = [&](auto done) {
        while (!done() && workers.waitForReadyRead(120000))
            pending += workers.readAllStandardOutput();
        return done();
    };
    for (int kill = 0; kill < kills; ++kill) {
        pending.clear();
        workers.write(QByteArray::number(random.generate()) + '\n');
        ASSERT_TRUE(readUntil([&] { return (line("pid ") && line("ready ")) || line("dead"); })) << pending.constData();
        ASSERT_FALSE(line("dead")) << pending.constData();
        QThread::usleep(random.bounded(15000));
        ::kill(pid_t(line("pid ")->toLongLong()), SIGKILL);
        ASSERT_TRUE(readUntil([&] { return bool(line("dead")); })) << pending.constData();
        const Outcome o = parse(pending);
        changes += o.changes;
        expectSoundAfterKill(o);
        ASSERT_FALSE(HasFatalFailure()) << "kill " << kill << "\n" << pending.constData();
        changesInProgress += !o.pending.isEmpty();
        if (!o.pending.isEmpty())
            ++killsDuring[o.pendingKind];
    }
    workers.closeWriteChannel();
    workers.waitForFinished();
    QStringList during;
    for (auto it = killsDuring.cbegin(); it != killsDuring.cend(); ++it)
        during << QString::fromLatin1(it.key()) + u' ' + QString::number(it.value());
    std::printf("%d kills in %.1f s, %d acknowledged changes, %d kills during a change (%d of them found done): %s\n",
                kills, timer.elapsed() / 1000.0, changes, changesInProgress, finishedByOpening,
                qPrintable(during.join(QStringLiteral(", "))));
    // Kills that fall between changes test nothing.
    EXPECT_GE(changesInProgress, kills / 2);
    // A restore needs a whole backup to start from, which random kills seldom
    // leave: its steps are each killed at in the test below.
    for (const char* kind : {"create", "delete", "import", "backup"})
        EXPECT_GE(killsDuring.value(kind), kills / 200) << kind;
}

TEST_F(CrashTest, KillsBeforeEachStepOfACreationImportDeletionBackupOrRestoreLeaveASoundDatabase)
{
    // Every step at length; in the short run, the first ones and then fewer.
    const bool everyStep = killsWanted() > 1000;
    startWith(8);
    QStringList figures;
    int restored = 0;
    for (const char* kind : {"create", "import", "delete", "backup", "restore"}) {
        int kills = 0;
        for (long n = 1;; n += everyStep ? 1 : 1 + n / 4) {
            std::optional<crash::State> before;
            if (auto db = tb::Database::open(folder))
                before = crash::readState(*db.value());
            ASSERT_TRUE(before);
            QProcess worker;
            start(worker, {"step", QString::fromLatin1(kind), QString::number(n)});
            // A slow disk makes a worker slow, never wrong.
            ASSERT_TRUE(worker.waitForFinished(120000)) << kind;
            const QByteArray output = worker.readAllStandardOutput();
            const Outcome o = parse(output);
            expectSoundAfterKill(o);
            ASSERT_FALSE(HasFatalFailure()) << kind << " killed before step " << n << "\n" << output.constData();
            if (qstrcmp(kind, "delete") == 0)
                expectDeletedCardRestoredWhole(*before, &restored);
            ASSERT_FALSE(HasFatalFailure()) << "restore after step " << n << "\n" << output.constData();
            if (output.endsWith("done\n"))
                break;
            ASSERT_EQ(worker.exitStatus(), QProcess::CrashExit) << kind << " step " << n << "\n" << output.constData();
            // Every kill falls inside the change.
            ASSERT_EQ(o.pendingKind, kind) << "step " << n << "\n" << output.constData();
            ++kills;
        }
        figures << QString::fromLatin1(kind) + u' ' + QString::number(kills);
        EXPECT_GE(kills, 3) << kind;
    }
    std::printf("kills before a step: %s (%d found done; %d deleted cards restored from the trash)\n",
                qPrintable(figures.join(QStringLiteral(", "))), finishedByOpening, restored);
    EXPECT_GT(restored, 0);
}
