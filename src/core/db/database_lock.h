#pragma once
// One Tabulon at a time writes a database: a lock file in its folder, held as
// long as the database is open for writing. A lock left by a program that
// died is taken over.
#include "core/base/error.h"

#include <QString>
#include <memory>

namespace tb {

class DatabaseLock;

// The lock of folder (ending with "/"). Databases of one program share it, so
// a program may open the database it already has open. A folder where no lock
// can be made (read-only, full) gives an empty lock: the writes will fail there.
// Refused with " Cette base de données est déjà ouverte par un autre programme
// Tabulon !" while another program holds it.
Result<std::shared_ptr<DatabaseLock>> lockDatabase(const QString& folder);

// The lock file's name inside the database folder (hidden).
QString databaseLockName();

}  // namespace tb
