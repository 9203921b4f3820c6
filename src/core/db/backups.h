#pragma once
// Backups of a database folder: dated copies the user keeps, the automatic
// copy before each import, and opening a backup as a database again.
#include "core/base/error.h"

#include <QDateTime>
#include <QString>

namespace tb {

class Database;

// "BasePerso 2026-12-07 14h05" for the database BasePerso at when.
QString datedBackupName(const Database& db, const QDateTime& when);

// A new dated folder inside parent holding the database's copy (" (2)" and
// so on after the name when the folder exists). Returns its path.
Result<QString> backupToDatedFolder(const Database& db, const QString& parent, const QDateTime& when);

// programFolder + "Sauvegardes/" + the database's name + "/".
QString automaticBackupFolder(const QString& programFolder, const Database& db);
// Replaces the automatic backup with a fresh copy; the old one stays until
// the new one is whole.
Result<QString> replaceAutomaticBackup(const Database& db, const QString& programFolder);

// Copies the backup folder into a new database folder of the program folder
// named after the backup (" (2)" and so on when taken). The backup itself is
// never written. Returns the new database folder.
Result<QString> restoreBackup(const QString& backupFolder, const QString& programFolder);

}  // namespace tb
