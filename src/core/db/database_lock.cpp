#include "core/db/database_lock.h"

#include "core/base/safe_write.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <optional>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tb {

namespace {

const QString kAlreadyOpen = QStringLiteral(" Cette base de données est déjà ouverte par un autre programme Tabulon !");

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// The executable's file name ("tabulon"), as /proc shows it even once the
// file was replaced by an update.
QByteArray programName(const QString& path)
{
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(QLatin1String(" (deleted)")))
        name.chop(10);
    return QFile::encodeName(name);
}

// "pid\napplication\nhost\n": who holds the lock.
QByteArray ownContent()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' + programName(QCoreApplication::applicationFilePath())
           + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
}

// A running process of that number that is the program named (a number taken
// again by another program after a crash is no holder).
bool processRuns(qint64 pid, const QByteArray& application)
{
    if (pid <= 0 || pid > INT_MAX || (::kill(pid_t(pid), 0) != 0 && errno != EPERM))
        return false;
    char exe[4096];
    const ssize_t n = ::readlink(QStringLiteral("/proc/%1/exe").arg(pid).toLatin1().constData(), exe, sizeof exe - 1);
    // Earlier versions wrote the application's name instead of the file's.
    return n <= 0 || application.isEmpty() || programName(QFile::decodeName(QByteArray(exe, n))) == application
           || application == QCoreApplication::applicationName().toUtf8();
}

enum class Holder { Alive, Dead, Us };

// An empty or garbled lock is a holder killed before its content was in
// place (or a file no Tabulon wrote): nobody holds it.
Holder holderOf(const QByteArray& content)
{
    const QList<QByteArray> lines = content.split('\n');
    bool number = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&number);
    if (!number || lines.size() < 3)
        return Holder::Dead;
    // Another machine's program (a shared folder) cannot be looked at.
    if (!lines[2].isEmpty() && lines[2] != QSysInfo::machineHostName().toUtf8())
        return Holder::Alive;
    if (pid == QCoreApplication::applicationPid())
        return Holder::Us;
    return processRuns(pid, lines[1]) ? Holder::Alive : Holder::Dead;
}

// Puts content in place as path, whole or not at all: written aside, then
// linked under the lock's name, which fails while any lock is there.
int placeLock(const QString& path, const QByteArray& content)
{
    QByteArray temp = encoded(path + QStringLiteral(".tmp-XXXXXX"));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return errno;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    const int writeError = errno;
    ::close(fd);
    int result = 0;
    if (!written)
        result = writeError ? writeError : ENOSPC;
    else if (::link(temp.constData(), encoded(path).constData()) != 0)
        result = errno;
    ::unlink(temp.constData());
    // File systems without hard links (a memory stick): made and filled at once.
    if (result == EPERM || result == ENOTSUP) {
        const int lock = ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (lock < 0)
            return errno;
        result = ::write(lock, content.constData(), size_t(content.size())) == content.size() ? 0 : ENOSPC;
        ::close(lock);
    }
    return result;
}

// Removes the stale lock whose content was seen, and only that one: a lock
// another program has just put in its place is given back.
void removeStale(const QString& path, const std::optional<QByteArray>& seen)
{
    const QString aside = path + QStringLiteral(".stale-") + QString::number(QCoreApplication::applicationPid());
    if (::rename(encoded(path).constData(), encoded(aside).constData()) != 0)
        return;
    const Result<QByteArray> moved = readFileStart(aside, 4096);
    if (moved ? !seen || *moved != *seen : bool(seen))
        ::link(encoded(aside).constData(), encoded(path).constData());
    ::unlink(encoded(aside).constData());
}

}  // namespace

class DatabaseLock {
public:
    DatabaseLock(QString path, QByteArray content) : m_path(std::move(path)), m_content(std::move(content)) {}
    ~DatabaseLock()
    {
        // Never the lock of a program that took it over meanwhile.
        const Result<QByteArray> now = readFileStart(m_path, 4096);
        if (now && *now == m_content)
            ::unlink(encoded(m_path).constData());
    }

private:
    QString m_path;
    QByteArray m_content;
};

namespace {

QMutex& registryMutex()
{
    static QMutex mutex;
    return mutex;
}

// The locks this program holds, by canonical folder.
QHash<QString, std::weak_ptr<DatabaseLock>>& registry()
{
    static QHash<QString, std::weak_ptr<DatabaseLock>> locks;
    return locks;
}

}  // namespace

QString databaseLockName()
{
    return QStringLiteral(".tabulon.lock");
}

Result<std::shared_ptr<DatabaseLock>> lockDatabase(const QString& folder)
{
    const QString key = QFileInfo(folder).canonicalFilePath();
    QMutexLocker guard(&registryMutex());
    if (std::shared_ptr<DatabaseLock> held = registry().value(key).lock())
        return held;
    const QString path = folder + databaseLockName();
    const QByteArray content = ownContent();
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int err = placeLock(path, content);
        if (err == 0) {
            auto lock = std::make_shared<DatabaseLock>(path, content);
            registry().insert(key, lock);
            return lock;
        }
        // The lock's temporary file removed by the holder's tidying: again.
        if (err == ENOENT)
            continue;
        if (err != EEXIST) {
            // No lock can be made (a read-only folder, a full disk): the cards
            // are still shown, and each write will tell what stops it.
            return std::shared_ptr<DatabaseLock>();
        }
        const Result<QByteArray> seen = readFileStart(path, 4096);
        if (!seen && seen.error().number == kErrorFileNotFound)
            continue;  // released meanwhile
        // Our own number in a lock we do not hold: the folder is a copy made
        // while this program had the original open.
        if (seen && holderOf(*seen) == Holder::Alive)
            return Error{kNoErrorNumber, kAlreadyOpen};
        removeStale(path, seen ? std::optional<QByteArray>(*seen) : std::nullopt);
    }
    return Error{kNoErrorNumber, kAlreadyOpen};
}

}  // namespace tb
