#pragma once
// Database folders: creation from the program folder's templates, and the
// check that a folder is a database.
#include "core/base/error.h"

#include <QString>
#include <QStringList>

namespace tb {

// The nine files every new database receives, in copy order.
const QStringList& databaseTemplateFiles();

// A name is refused when it holds "/", "\\", "..", a control character, or
// only blanks, or is longer than 255 bytes.
bool isSafeDatabaseName(const QString& name);

// A folder is a database when it holds "NBFiches.dat" and "carte.txt".
bool isDatabaseFolder(const QString& folder);

}  // namespace tb
