// The crash test's worker: changes a database, saying "begin DIGEST KIND" and "ack".
//   fork FOLDER PROGRAM   a child making changes per seed read ("pid N", then "dead")
//   step FOLDER PROGRAM KIND N   one change, killed before its Nth step
//   hold FOLDER   keeps the database open until its input closes
//   once FOLDER WHAT   one store, create or captions change
#include "crash_state.h"

#include "core/cards/card_fields.h"
#include "core/db/backups.h"
#include "core/exchange/card_import.h"
#include "core/exchange/exchange_samples.h"
#include "core/lists/exports.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Straight to the pipe: nothing waits in a buffer when the kill comes.
void say(const QByteArray& line)
{
    const QByteArray bytes = line + '\n';
    for (ssize_t done = 0, n; done < bytes.size(); done += n)
        if ((n = ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done))) <= 0)
            ::_exit(3);
}

[[noreturn]] void fail(const QString& what)
{
    say("fail " + what.toUtf8());
    ::_exit(1);
}

// The kinds of change, in the order make() numbers them.
const QStringList kKinds = {"store",    "create", "delete", "archive", "journal", "note",
                            "captions", "export", "import", "backup",  "restore"};

// Earlier copies go as a killed one does: hidden first, for the next copy to remove.
void throwAway(const QString& folder)
{
    QDir().mkpath(folder);
    for (const QString& copy : crash::visibleCopies(folder)) {
        const QString hidden = folder + u'.' + QDir(copy).dirName() + ".inachevee-" + QString::number(::getpid());
        if (QDir().rename(copy, hidden))
            QDir(hidden).removeRecursively();
    }
}

class Worker {
public:
    Worker(tb::Database& db, quint32 seed, const QString& program)
        : m_db(db), m_random(seed), m_state(crash::readState(db)), m_program(program)
    {
        say("ready " + m_state.digest());
    }

    [[noreturn]] void run()
    {
        for (quint64 step = 0;; ++step)
            make(count() == 0 ? 1 : int(m_random.bounded(int(kKinds.size()))), step);
    }

    // The change of kind kKinds[pick]; some kinds skip their turn when they cannot run.
    void make(int pick, quint64 step)
    {
        crash::State next = m_state;
        const auto apply = [&](auto change) {
            say("begin " + next.digest() + ' ' + kKinds[pick].toLatin1());
            if (tb::Status s = change(); !s)
                fail(s.error().message());
            m_state = next;
            say("ack");
        };
        const long long n = pick == 1 || pick >= 6 ? 0 : 1 + m_random.bounded(int(count()));
        switch (pick) {
        case 0: {  // store
            const CardRecord card = newCard(step);
            next.records[n - 1] = card.toBytes();
            return apply([&] { return m_db.storeCard(n, card); });
        }
        case 1: {  // create
            if (count() >= 24)
                return;
            const CardRecord card = newCard(step);
            next.records.push_back(card.toBytes());
            next.files.push_back(crash::templateFiles(m_db));
            return apply([&]() -> tb::Status {
                const tb::Result<long long> made = m_db.createCard(card);
                if (made && *made != count() + 1)
                    return tb::Error{tb::kErrorPathAccess, "numéro de la nouvelle fiche"};
                return made.status();
            });
        }
        case 2:  // delete: the last card takes the number
            next.records[n - 1] = next.records.back(), next.records.pop_back();
            next.files[n - 1] = next.files.back(), next.files.pop_back();
            return apply([&] { return m_db.deleteCard(n); });
        case 3: {  // archive or make active again
            CardRecord card = CardRecord::fromBytes(next.records[n - 1]);
            const bool archive = card.fields[0][0] != u'0';
            card.fields[0][0] = archive ? u'0' : u'1';
            next.records[n - 1] = card.toBytes();
            return apply([&] { return m_db.setArchived(n, archive); });
        }
        case 4: {  // journal entry
            const QString line = "Appel n° " + QString::number(step);
            next.files[n - 1].memento.append(line);
            return apply([&]() -> tb::Status {
                tb::Result<tb::Journal> journal = tb::Journal::open(m_db, n, tb::JournalKind::Memento);
                return journal ? journal->add(line) : journal.status();
            });
        }
        case 5: {  // note
            const QString note = "Note " + QString::number(step) + "\r\nsuite " + QString(int(m_random.bounded(3000)), u'x');
            next.files[n - 1].note = note;
            return apply([&] { return tb::saveNote(m_db.findSideFile(tb::SideFile::Note, n), note); });
        }
        case 6: {  // captions
            QStringList captions;
            for (int k = 11; k <= 20; ++k)
                captions << QString("Champ %1 n° %2").arg(k).arg(step);
            next.captions = captions;
            return apply([&] { return m_db.setCaptions(captions); });
        }
        case 7:  // export: fields 2 to 20, each and ";", and CR LF: 621 bytes a card
            next.exportSize = count() * 621;
            return apply([&] { return tb::writeExport(m_db.store(), count(), tb::ExportFormat::Fields).status(); });
        case 8: {  // import of contacts with photos, after the automatic backup
            if (m_small && count() >= 22)
                return;
            std::vector<tb::Contact> contacts(1 + m_random.bounded(3));
            tb::ImportOptions options;
            options.programFolder = m_program;
            const QStringList captions = tb::exchangeCaptions(m_db.captions());
            for (size_t k = 0; k < contacts.size(); ++k) {
                contacts[k].field(3) = QString("IMPORT%1-%2").arg(step).arg(k);
                contacts[k].field(6) = "33000";
                contacts[k].photo = exchange_samples::picture("JPG", Qt::darkCyan);
                CardRecord stored =
                    tb::cardOfContact(contacts[k], captions, options.placement, options.marker, qint64(k), nullptr);
                stored.fields[2] = tb::surnameInCapitals(stored.fields[2]);
                next.records.push_back(stored.toBytes());
                next.files.push_back(crash::templateFiles(m_db, true));
            }
            return apply([&]() -> tb::Status {
                const auto report = tb::importContacts(m_db, contacts, options, tb::alwaysAnswer(tb::DuplicateChoice::Create));
                return report.error ? tb::Status(*report.error) : tb::Status();
            });
        }
        case 9:  // backup into a folder holding one
            return apply([&] {
                throwAway(crash::backupsFolder(m_program));
                return tb::backupToDatedFolder(m_db, crash::backupsFolder(m_program), QDateTime::currentDateTime()).status();
            });
        default: {  // restore of the backup
            const QStringList backups = crash::visibleCopies(crash::backupsFolder(m_program));
            if (backups.isEmpty())
                return;
            return apply([&] {
                throwAway(crash::restoresFolder(m_program));
                return tb::restoreBackup(backups.first(), crash::restoresFolder(m_program)).status();
            });
        }
        }
    }

    bool m_small = true;  // random runs: imports stop at 22 cards

private:
    long long count() const { return qint64(m_state.records.size()); }
    CardRecord newCard(quint64 step)
    {
        const QString tag = QString::number(m_random.generate() % 100000) + u'-' + QString::number(step);
        return testing_support::makeCard("NOM" + tag, "Prénom " + tag, 1 + m_random.bounded(7), m_random.bounded(500),
                                         m_random.bounded(500), "75001", "PARIS");
    }

    tb::Database& m_db;
    QRandomGenerator m_random;
    crash::State m_state;
    QString m_program;
};

std::unique_ptr<tb::Database> openOrFail(const QString& folder)
{
    auto db = tb::Database::open(folder);
    if (!db)
        fail(db.error().message());
    return std::move(db).value();
}

// One change of kind, killed just before its nth step; "done" when it ran whole.
int stepChange(const QString& folder, const QString& program, const QString& kind, long n)
{
    const auto db = openOrFail(folder);
    if (!kKinds.contains(kind))
        fail("kind " + kind);
    Worker worker(*db, quint32(n), program);
    worker.m_small = false;
    // A restore needs a backup: made first, whole.
    if (kind == "restore" && crash::visibleCopies(crash::backupsFolder(program)).isEmpty())
        worker.make(int(kKinds.indexOf("backup")), 0);
    const auto killBefore = reinterpret_cast<void (*)(long)>(::dlsym(RTLD_DEFAULT, "tabulon_kill_before_step"));
    if (!killBefore)
        fail("the stub is not preloaded");
    killBefore(n);
    worker.make(int(kKinds.indexOf(kind)), quint64(n));
    killBefore(0);
    say("done");
    return 0;
}

int forkChanges(const QString& folder, const QString& program)
{
    QByteArray line;
    for (char c; ::read(STDIN_FILENO, &c, 1) > 0;) {
        if (c != '\n') {
            line += c;
            continue;
        }
        const pid_t child = ::fork();
        if (child == 0)
            Worker(*openOrFail(folder), line.toUInt(), program).run();
        line.clear();
        say("pid " + QByteArray::number(child));
        ::waitpid(child, nullptr, 0);
        say("dead");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "fork")
        return forkChanges(args[2], args[3]);
    if (args.size() == 6 && args[1] == "step")
        return stepChange(args[2], args[3], args[4], args[5].toLong());
    if (args.size() < 3)
        return 2;
    const auto db = openOrFail(args[2]);
    if (args[1] == "hold") {
        say("ok");
        for (char c; ::read(STDIN_FILENO, &c, 1) > 0;) continue;
        return 0;
    }
    if (args.size() != 4 || args[1] != "once")
        return 2;
    const CardRecord card = testing_support::makeCard("UNE", "Fois", 2, 5, 5);
    const tb::Status s = args[3] == "store"    ? db->storeCard(1, card)
                         : args[3] == "create" ? db->createCard(card).status()
                                               : db->setCaptions(QStringList(10, "Intitulé"));
    return s ? 0 : 1;
}
