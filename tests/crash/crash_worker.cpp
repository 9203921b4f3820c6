// The crash test's worker: changes a database without end, telling on its
// standard output each change it starts ("begin" and the digest of the state
// it leads to) and each one acknowledged ("ack"), until it is killed.
//   crash_worker run FOLDER SEED PROGRAM  the changes (imports, backups and
//                                  restores use the program folder)
//   crash_worker fork FOLDER PROGRAM  for each seed read on its input, a child
//                                  making the changes ("pid N"), and "dead"
//                                  once that child is killed: no start-up
//                                  cost between kills
//   crash_worker step FOLDER PROGRAM KIND N  one change of that kind, killed
//                                  before its Nth sync, rename, write or
//                                  removal (the preloaded stub counts them)
//   crash_worker hold FOLDER       opens the database for writing, says "ok",
//                                  and keeps it open until its input closes
//   crash_worker once FOLDER WHAT  one store, create or captions change
#include "crash_state.h"

#include "core/cards/card_record.h"
#include "core/db/backups.h"
#include "core/cards/card_fields.h"
#include "core/exchange/card_import.h"
#include "core/journals/journal.h"
#include "core/lists/exports.h"
#include "core/tools/note_text.h"
#include "support/fixtures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Straight to the pipe: nothing waits in a buffer when the kill comes.
void say(const QByteArray& line)
{
    const QByteArray bytes = line + '\n';
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            ::_exit(3);
        done += n;
    }
}

[[noreturn]] void fail(const QString& what)
{
    say("fail " + what.toUtf8());
    ::_exit(1);
}

// The kinds of change, in the order make() numbers them.
constexpr const char* kKinds[] = {"store", "create",   "delete", "archive", "journal", "note",
                                  "captions", "export", "import", "backup", "restore"};

int kindIndex(const QString& kind)
{
    const auto found = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const char* k) { return kind == QLatin1String(k); });
    return found == std::end(kKinds) ? -1 : int(found - std::begin(kKinds));
}

class Worker {
public:
    Worker(tb::Database& db, quint32 seed, const QString& program)
        : m_db(db), m_random(seed), m_state(crash::readState(db)), m_program(program)
    {
    }

    void announce() { say("ready " + m_state.digest()); }

    void run()
    {
        announce();
        for (quint64 step = 0;; ++step)
            one(step);
    }

private:
    long long count() const { return qint64(m_state.records.size()); }
    long long anyCard() { return 1 + m_random.bounded(int(count())); }

    CardRecord newCard(quint64 step)
    {
        const QString tag = QString::number(m_random.generate() % 100000) + u'-' + QString::number(step);
        return testing_support::makeCard(QStringLiteral("NOM") + tag, QStringLiteral("Prénom ") + tag,
                                         1 + m_random.bounded(7), m_random.bounded(500), m_random.bounded(500),
                                         QStringLiteral("75001"), QStringLiteral("PARIS"));
    }

    // Announces the state the change leads to, makes it, acknowledges it.
    template <typename Change>
    void apply(const char* kind, const crash::State& next, Change change)
    {
        say("begin " + next.digest() + ' ' + kind);
        if (tb::Status s = change(); !s)
            fail(s.error().message());
        m_state = next;
        say("ack");
    }

    void one(quint64 step) { make(count() == 0 ? 1 : int(m_random.bounded(int(std::size(kKinds)))), step); }

public:
    // The change of kind kKinds[pick].
    void make(int pick, quint64 step)
    {
        crash::State next = m_state;
        switch (pick) {
        case 0: {  // store
            const long long n = anyCard();
            const CardRecord card = newCard(step);
            next.records[n - 1] = card.toBytes();
            apply(kKinds[pick], next, [&] { return m_db.storeCard(n, card); });
            break;
        }
        case 1: {  // create
            if (count() >= 24)
                break;
            const CardRecord card = newCard(step);
            next.records.push_back(card.toBytes());
            next.files.push_back(crash::templateFiles(m_db));
            apply(kKinds[pick], next, [&]() -> tb::Status {
                const tb::Result<long long> n = m_db.createCard(card);
                if (n && *n != count() + 1)
                    return tb::Error{tb::kErrorPathAccess, QStringLiteral("numéro de la nouvelle fiche")};
                return n.status();
            });
            break;
        }
        case 2: {  // delete: the last card takes the number
            const long long n = anyCard();
            next.records[n - 1] = next.records.back();
            next.files[n - 1] = next.files.back();
            next.records.pop_back();
            next.files.pop_back();
            apply(kKinds[pick], next, [&] { return m_db.deleteCard(n); });
            break;
        }
        case 3: {  // archive or make active again
            const long long n = anyCard();
            CardRecord card = CardRecord::fromBytes(next.records[n - 1]);
            const bool archive = card.fields[0][0] != u'0';
            card.fields[0][0] = archive ? u'0' : u'1';
            next.records[n - 1] = card.toBytes();
            apply(kKinds[pick], next, [&] { return m_db.setArchived(n, archive); });
            break;
        }
        case 4: {  // journal entry
            const long long n = anyCard();
            const QString line = QStringLiteral("Appel n° ") + QString::number(step);
            next.files[n - 1].memento.append(line);
            apply(kKinds[pick], next, [&]() -> tb::Status {
                tb::Result<tb::Journal> journal = tb::Journal::open(m_db, n, tb::JournalKind::Memento);
                return journal ? journal->add(line) : journal.status();
            });
            break;
        }
        case 5: {  // note
            const long long n = anyCard();
            const QString note = QStringLiteral("Note ") + QString::number(step) + QStringLiteral("\r\nsuite ")
                                 + QString(int(m_random.bounded(3000)), u'x');
            next.files[n - 1].note = note;
            apply(kKinds[pick], next, [&] {
                return tb::saveNote(m_db.findSideFile(tb::SideFile::Note, n), note);
            });
            break;
        }
        case 6: {  // captions
            QStringList captions;
            for (int k = 11; k <= 20; ++k)
                captions << QStringLiteral("Champ %1 n° %2").arg(k).arg(step);
            next.captions = captions;
            apply(kKinds[pick], next, [&] { return m_db.setCaptions(captions); });
            break;
        }
        case 7: {  // export
            next.exportSize = crash::exportSizeFor(count());
            apply(kKinds[pick], next, [&] { return tb::writeExport(m_db.store(), count(), tb::ExportFormat::Fields).status(); });
            break;
        }
        case 8: {  // import of contacts with photos, after the automatic backup
            if (m_small && count() >= 22)
                break;
            std::vector<tb::Contact> contacts(1 + m_random.bounded(3));
            tb::ImportOptions options;
            options.programFolder = m_program;
            const QStringList captions = tb::exchangeCaptions(m_db.captions());
            for (size_t k = 0; k < contacts.size(); ++k) {
                contacts[k].field(3) = QStringLiteral("IMPORT%1-%2").arg(step).arg(k);
                contacts[k].field(6) = QStringLiteral("33000");
                contacts[k].photo = photo();
                QStringList notes;
                CardRecord stored = tb::cardOfContact(contacts[k], captions, options.placement, options.marker,
                                                      qint64(k), &notes);
                stored.fields[2] = tb::surnameInCapitals(stored.fields[2]);
                next.records.push_back(stored.toBytes());
                crash::CardFiles files = crash::templateFiles(m_db);
                files.photo = true;
                next.files.push_back(files);
            }
            apply(kKinds[pick], next, [&]() -> tb::Status {
                const tb::ImportReport report =
                    tb::importContacts(m_db, contacts, options, tb::alwaysAnswer(tb::DuplicateChoice::Create));
                if (report.error)
                    return *report.error;
                return {};
            });
            break;
        }
        case 9: {  // backup into a folder holding one
            apply(kKinds[pick], next, [&]() -> tb::Status {
                throwAway(crash::backupsFolder(m_program));
                return tb::backupToDatedFolder(m_db, crash::backupsFolder(m_program), QDateTime::currentDateTime())
                    .status();
            });
            break;
        }
        default: {  // restore of the backup
            const QStringList backups = crash::visibleCopies(crash::backupsFolder(m_program));
            if (backups.isEmpty())
                break;
            apply(kKinds[pick], next, [&]() -> tb::Status {
                throwAway(crash::restoresFolder(m_program));
                return tb::restoreBackup(backups.first(), crash::restoresFolder(m_program)).status();
            });
            break;
        }
        }
    }

    // A small picture as a phone's contact carries it.
    static QByteArray photo()
    {
        static const QByteArray bytes = [] {
            QImage image(16, 16, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "JPG");
            return jpeg;
        }();
        return bytes;
    }

    // The earlier copies go as a killed copy does: hidden first, so that the
    // next copy into that folder removes what a kill left of them.
    static void throwAway(const QString& folder)
    {
        QDir().mkpath(folder);
        for (const QString& copy : crash::visibleCopies(folder)) {
            const QString hidden = folder + u'.' + QDir(copy).dirName() + QStringLiteral(".inachevee-")
                                   + QString::number(::getpid());
            if (QDir().rename(copy, hidden))
                QDir(hidden).removeRecursively();
        }
    }

public:
    // A database kept small for random runs: imports stop at 22 cards.
    bool m_small = true;

private:
    tb::Database& m_db;
    QRandomGenerator m_random;
    crash::State m_state;
    QString m_program;
};

}  // namespace

int runChanges(const QString& folder, quint32 seed, const QString& program)
{
    auto db = tb::Database::open(folder);
    if (!db)
        fail(db.error().message());
    Worker(*db.value(), seed, program).run();
    return 2;
}

// One change of kind, killed just before its nth step (a sync, rename, record
// write, truncation or removal) when it has that many; "done" when it ran whole.
int stepChange(const QString& folder, const QString& program, const QString& kind, long n)
{
    auto db = tb::Database::open(folder);
    if (!db)
        fail(db.error().message());
    const int pick = kindIndex(kind);
    if (pick < 0)
        fail(QStringLiteral("kind ") + kind);
    Worker worker(*db.value(), quint32(n), program);
    worker.m_small = false;
    worker.announce();
    // A restore needs a backup: made first, whole.
    if (kind == QLatin1String("restore") && crash::visibleCopies(crash::backupsFolder(program)).isEmpty())
        worker.make(kindIndex(QStringLiteral("backup")), 0);
    using KillBefore = void (*)(long);
    const auto killBefore = reinterpret_cast<KillBefore>(::dlsym(RTLD_DEFAULT, "tabulon_kill_before_step"));
    if (!killBefore)
        fail(QStringLiteral("the stub is not preloaded"));
    killBefore(n);
    worker.make(pick, quint64(n));
    killBefore(0);
    say("done");
    return 0;
}

int forkChanges(const QString& folder, const QString& program)
{
    char line[64];
    qsizetype used = 0;
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, line + used, 1);
        if (n <= 0)
            return 0;
        if (line[used] != '\n' && used + 1 < qsizetype(sizeof line)) {
            ++used;
            continue;
        }
        const quint32 seed = QByteArray(line, used).toUInt();
        used = 0;
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(runChanges(folder, seed, program));
        say("pid " + QByteArray::number(child));
        int status = 0;
        ::waitpid(child, &status, 0);
        say("dead");
    }
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    if (args[1] == QLatin1String("fork") && args.size() == 4)
        return forkChanges(args[2], args[3]);
    if (args[1] == QLatin1String("run") && args.size() == 5)
        return runChanges(args[2], args[3].toUInt(), args[4]);
    if (args[1] == QLatin1String("step") && args.size() == 6)
        return stepChange(args[2], args[3], args[4], args[5].toLong());
    auto db = tb::Database::open(args[2]);
    if (!db) {
        say("fail " + db.error().message().toUtf8());
        return 1;
    }
    if (args[1] == QLatin1String("hold")) {
        say("ok");
        char c;
        while (::read(STDIN_FILENO, &c, 1) > 0) {
        }
        return 0;
    }
    if (args[1] == QLatin1String("once") && args.size() == 4) {
        tb::Database& d = *db.value();
        const CardRecord card = testing_support::makeCard(QStringLiteral("UNE"), QStringLiteral("Fois"), 2, 5, 5);
        tb::Status s;
        if (args[3] == QLatin1String("store"))
            s = d.storeCard(1, card);
        else if (args[3] == QLatin1String("create"))
            s = d.createCard(card).status();
        else
            s = d.setCaptions(QStringList(10, QStringLiteral("Intitulé")));
        return s ? 0 : 1;
    }
    return 2;
}
