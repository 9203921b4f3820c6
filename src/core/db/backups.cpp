#include "core/db/backups.h"

#include "core/base/safe_write.h"
#include "core/db/database.h"
#include "core/db/database_files.h"
#include "core/db/recent_databases.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

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
    if (Status s = db.backup(target); !s) {
        // A backup is whole or not there.
        QDir(target).removeRecursively();
        return s.error();
    }
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
    if (Status s = copyFolder(source, target, {}, {databaseLockName()}); !s) {
        QDir(target).removeRecursively();
        return s.error();
    }
    RememberedBackups::add(target);
    return target;
}

}  // namespace tb
