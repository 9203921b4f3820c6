#include "core/db/database_lock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMutex>

namespace tb {

class DatabaseLock {
public:
    explicit DatabaseLock(const QString& path) : file(path) {}
    QLockFile file;
};

namespace {

const QString kAlreadyOpen = QStringLiteral(" Cette base de données est déjà ouverte par un autre programme Tabulon !");

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
    auto lock = std::make_shared<DatabaseLock>(folder + databaseLockName());
    // Only a dead holder makes a lock stale, however old it is.
    lock->file.setStaleLockTime(0);
    if (!lock->file.tryLock(0)) {
        switch (lock->file.error()) {
        case QLockFile::LockFailedError: {
            // Our own number in a lock we do not hold: the folder is a copy
            // made while this program had the original open.
            qint64 pid = 0;
            if (lock->file.getLockInfo(&pid, nullptr, nullptr) && pid == QCoreApplication::applicationPid()
                && lock->file.removeStaleLockFile() && lock->file.tryLock(0))
                break;
            return Error{kNoErrorNumber, kAlreadyOpen};
        }
        default:
            // No lock can be made (a read-only folder, a full disk): the cards
            // are still shown, and each write will tell what stops it.
            return std::shared_ptr<DatabaseLock>();
        }
    }
    registry().insert(key, lock);
    return lock;
}

}  // namespace tb
