// Kills a worker that changes a database at random moments, then before each
// step of a creation, import, deletion, backup or restore in turn. After each
// kill the database passes the check and holds every acknowledged change;
// copies in sight are whole; a deleted card comes back whole from the trash.
// TABULON_CRASH_KILLS: random kills (400); past 1000, every step is killed at.
// Power cuts (strace): records synced after a write, folders after a rename.
#include "cli/cli.h"
#include "core/cards/side_files.h"
#include "crash_state.h"
#include "support/fixtures.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>

using namespace testing_support;

namespace {

// What a worker said: its first state, the last acknowledged, the one in progress.
struct Outcome {
    QByteArray ready, acknowledged, pending, pendingKind;
    QList<QByteArray> begun;
    QString failure;
    int changes = 0;

    explicit Outcome(const QByteArray& output)
    {
        for (const QByteArray& line : output.split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words[0] == "ready")
                ready = acknowledged = words.value(1);
            else if (words[0] == "begin")
                begun << (pending = words.value(1)), pendingKind = words.value(2);
            else if (line == "ack")
                acknowledged = begun.last(), pending.clear(), ++changes;
            else if (words[0] == "fail")
                failure = QString::fromUtf8(line.mid(5));
        }
    }
};

// A side file of a card number past count, or "".
QString fileBeyond(const QString& folder, long long count)
{
    static const QRegularExpression side(u'^' + tb::sideFileNamePattern() + u'$', QRegularExpression::CaseInsensitiveOption);
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        if (const QRegularExpressionMatch m = side.match(name); m.hasMatch() && m.captured(2).toLongLong() > count)
            return name;
    return {};
}

// The copy in sight in folder (at most one) is whole, in a state the database had.
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

// The cards of state with their journals, notes and photos, in no order.
QMultiMap<QByteArray, QByteArray> cardsOf(const crash::State& state)
{
    QMultiMap<QByteArray, QByteArray> cards;
    for (size_t k = 0; k < state.records.size(); ++k)
        cards.insert(state.records[k], state.files[k].memento.join(u'\n').toUtf8() + '\0' + state.files[k].note.toUtf8()
                                           + char(state.files[k].photo));
    return cards;
}

const int kKills = qEnvironmentVariableIsSet("TABULON_CRASH_KILLS") ? qEnvironmentVariableIntValue("TABULON_CRASH_KILLS") : 400;

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
        states = {current = crash::readState(*created.value()).digest()};
        folder = created.value()->folder();
    }

    // Syncs skipped, steps counted (a sanitized worker accepts the preloaded library).
    void start(QProcess& worker, const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", QStringLiteral(TABULON_NO_SYNC));
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        worker.setProcessEnvironment(env);
        worker.start(QStringLiteral(TABULON_CRASH_WORKER), QStringList{args[0], folder, program.path()} + args.mid(1));
    }

    // Opened again as Tabulon opens it (lock taken over, deletion finished): the
    // state before or after the change in progress, nothing past the count, checked.
    void expectSoundAfterKill(const Outcome& o)
    {
        ASSERT_TRUE(o.failure.isEmpty()) << o.failure.toStdString();
        ASSERT_EQ(o.ready, current);
        states.unite(QSet<QByteArray>(o.begun.cbegin(), o.begun.cend()));
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
        ::testing::internal::CaptureStdout();
        const int code = [&] { cli::Output out; return cli::checkDatabase(folder, program.path(), out); }();
        const std::string report = ::testing::internal::GetCapturedStdout();
        ASSERT_EQ(code, cli::kDone) << report;
    }
};

// The calls of one "once" run: "pwrite64 /path", "fdatasync /path", "rename /to"...
QStringList traced(const QString& folder, const QString& what)
{
    const QString log = folder + QStringLiteral("../strace.log");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");  // no leak check under a tracer
    p.setProcessEnvironment(env);
    p.start("strace", {"-f", "-y", "-s", "0", "-o", log, "-e", "trace=pwrite64,fdatasync,fsync,rename,renameat,renameat2",
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

TEST_F(CrashTest, KillsAtAnyMomentLoseNoAcknowledgedChangeAndLeaveASoundDatabase)
{
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
    QByteArray said;
    // The value of the whole line that starts with prefix, once it has come.
    const auto line = [&](const QByteArray& prefix) -> std::optional<QByteArray> {
        for (qsizetype at = 0; (at = said.indexOf(prefix, at)) >= 0; ++at)
            if (const qsizetype end = said.indexOf('\n', at); (at == 0 || said[at - 1] == '\n') && end >= 0)
                return said.mid(at + prefix.size(), end - at - prefix.size());
        return std::nullopt;
    };
    // A slow disk makes a worker slow, never wrong: waits are long.
    const auto readUntil = [&](auto done) {
        while (!done() && workers.waitForReadyRead(120000))
            said += workers.readAllStandardOutput();
        return done();
    };
    for (int kill = 0; kill < kKills; ++kill) {
        said.clear();
        workers.write(QByteArray::number(random.generate()) + '\n');
        ASSERT_TRUE(readUntil([&] { return (line("pid ") && line("ready ")) || line("dead"); })) << said.constData();
        ASSERT_FALSE(line("dead")) << said.constData();
        QThread::usleep(random.bounded(15000));
        ::kill(pid_t(line("pid ")->toLongLong()), SIGKILL);
        ASSERT_TRUE(readUntil([&] { return bool(line("dead")); })) << said.constData();
        const Outcome o(said);
        changes += o.changes;
        expectSoundAfterKill(o);
        ASSERT_FALSE(HasFatalFailure()) << "kill " << kill << "\n" << said.constData();
        if (!o.pending.isEmpty())
            ++changesInProgress, ++killsDuring[o.pendingKind];
    }
    workers.closeWriteChannel();
    workers.waitForFinished();
    QStringList during;
    for (auto it = killsDuring.cbegin(); it != killsDuring.cend(); ++it)
        during << QString::fromLatin1(it.key()) + u' ' + QString::number(it.value());
    std::printf("%d kills in %.1f s, %d acknowledged changes, %d kills during a change (%d of them found done): %s\n",
                kKills, timer.elapsed() / 1000.0, changes, changesInProgress, finishedByOpening,
                qPrintable(during.join(", ")));
    // Kills that fall between changes test nothing. A restore needs a whole
    // backup to start from, which random kills seldom leave: its steps are each
    // killed at in the test below.
    EXPECT_GE(changesInProgress, kKills / 2);
    for (const char* kind : {"create", "delete", "import", "backup"})
        EXPECT_GE(killsDuring.value(kind), kKills / 200) << kind;
}

TEST_F(CrashTest, KillsBeforeEachStepOfACreationImportDeletionBackupOrRestoreLeaveASoundDatabase)
{
    // Every step at length; in the short run, the first ones and then fewer.
    const bool everyStep = kKills > 1000;
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
            ASSERT_TRUE(worker.waitForFinished(120000)) << kind;  // a slow disk makes it slow, never wrong
            const QByteArray output = worker.readAllStandardOutput();
            const Outcome o(output);
            expectSoundAfterKill(o);
            ASSERT_FALSE(HasFatalFailure()) << kind << " killed before step " << n << "\n" << output.constData();
            // A deletion cut short is either undone, the trash as it was, or done
            // with the card in the trash: restored from there, it comes back whole.
            if (qstrcmp(kind, "delete") == 0) {
                auto db = tb::Database::open(folder);
                ASSERT_TRUE(db);
                if (db.value()->count() < qsizetype(before->records.size())) {
                    const auto entries = db.value()->trash().entries();
                    ASSERT_TRUE(entries && !entries->empty());
                    ASSERT_TRUE(db.value()->restoreFromTrash(entries->front().number));
                    const crash::State after = crash::readState(*db.value());
                    EXPECT_EQ(cardsOf(after), cardsOf(*before)) << "restore after step " << n << "\n" << output.constData();
                    current = after.digest();
                    ++restored;
                }
            }
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
                qPrintable(figures.join(", ")), finishedByOpening, restored);
    EXPECT_GT(restored, 0);
}

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
