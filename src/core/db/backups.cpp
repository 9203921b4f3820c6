#include "core/db/backups.h"

#include "core/base/safe_write.h"
#include "core/db/database.h"
#include "core/db/database_files.h"
#include "core/db/recent_databases.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>

namespace tb {

namespace {

// folder + name, or name + " (2)" and so on when that is taken.
QString freeFolder(const QString& parent, const QString& name)
{
    const QString base = parent.endsWith(u'/') ? parent : parent + u'/';
    QString path = base + name;
    for (int i = 2; QFileInfo::exists(path); ++i)
        path = base + name + QStringLiteral(" (") + QString::number(i) + u')';
    return path + u'/';
}

const QRegularExpression& unfinishedName()
{
    static const QRegularExpression name(QStringLiteral("^\\..+\\.inachevee-(\\d{1,10})$"));
    return name;
}

// Copies of a killed program, never one still being made.
void removeUnfinishedCopies(const QString& parent)
{
    for (const QString& name : QDir(parent).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch m = unfinishedName().match(name);
        if (!m.hasMatch())
            continue;
        const long long pid = m.captured(1).toLongLong();
        if (pid != QCoreApplication::applicationPid() && pid <= INT_MAX && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            QDir(QDir(parent).filePath(name)).removeRecursively();
    }
}

// A copy is whole or not there: made under a hidden name beside target
// (ending with "/"), renamed into place at the end. One a kill left behind
// goes at the next copy into the same folder.
Status copyWhole(const QString& target, const std::function<Status(const QString&)>& copy)
{
    QString path = target;
    path.chop(1);
    const QFileInfo info(path);
    const QString parent = info.absolutePath();
    removeUnfinishedCopies(parent);
    const QString building = parent + QStringLiteral("/.") + info.fileName() + QStringLiteral(".inachevee-")
                             + QString::number(QCoreApplication::applicationPid());
    QDir(building).removeRecursively();
    Status result = copy(building + u'/');
    if (result) {
        const QByteArray from = QFile::encodeName(building), to = QFile::encodeName(path);
        // Never over a folder made meanwhile; a file system without the flag
        // still refuses a folder that is not empty.
        int done = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        if (done != 0 && errno == EINVAL)
            done = ::rename(from.constData(), to.constData());
        if (done != 0)
            result = Error::fromErrno(errno, path);
    }
    if (!result) {
        QDir(building).removeRecursively();
        return result;
    }
    syncFolder(parent);
    return {};
}

}  // namespace

QString datedBackupName(const Database& db, const QDateTime& when)
{
    return db.name() + u' ' + when.toString(QStringLiteral("yyyy-MM-dd HH'h'mm"));
}

Result<QString> backupToDatedFolder(const Database& db, const QString& parent, const QDateTime& when)
{
    if (!QFileInfo(parent).isDir())
        return Error::fromErrno(ENOTDIR, parent);
    // A copy inside the folder it copies would copy itself.
    const QString from = QFileInfo(db.folder()).canonicalFilePath() + u'/';
    if ((QFileInfo(parent).canonicalFilePath() + u'/').startsWith(from))
        return Error{kNoErrorNumber, QStringLiteral(" Une sauvegarde ne peut pas être faite dans la base de données elle-même.")};
    const QString target = freeFolder(parent, datedBackupName(db, when));
    if (Status s = copyWhole(target, [&](const QString& into) { return db.backup(into); }); !s)
        return s.error();
    RememberedBackups::add(target);
    return target;
}

QString automaticBackupFolder(const QString& programFolder, const Database& db)
{
    return programFolder + QStringLiteral("Sauvegardes/") + db.name() + u'/';
}

Result<QString> replaceAutomaticBackup(const Database& db, const QString& programFolder)
{
    QString target = automaticBackupFolder(programFolder, db);
    target.chop(1);
    const QString fresh = target + QStringLiteral(".nouvelle");
    const QString old = target + QStringLiteral(".ancienne");
    QDir(fresh).removeRecursively();
    if (Status s = db.backup(fresh + u'/'); !s) {
        QDir(fresh).removeRecursively();
        return s.error();
    }
    QDir(old).removeRecursively();
    if (QFileInfo::exists(target) && !QDir().rename(target, old))
        return Error::fromErrno(errno ? errno : EACCES, target);
    if (!QDir().rename(fresh, target))
        return Error::fromErrno(errno ? errno : EACCES, target);
    QDir(old).removeRecursively();
    return target + u'/';
}

Result<QString> restoreBackup(const QString& backupFolder, const QString& programFolder)
{
    QString source = backupFolder.endsWith(u'/') ? backupFolder : backupFolder + u'/';
    if (!isDatabaseFolder(source))
        return Error{kNoErrorNumber, QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !")};
    const QString target = freeFolder(programFolder, QDir(source).dirName());
    if (Status s = copyWhole(target, [&](const QString& into) { return copyFolder(source, into, {}, {databaseLockName()}); });
        !s)
        return s.error();
    RememberedBackups::add(target);
    return target;
}

}  // namespace tb
