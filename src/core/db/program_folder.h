#pragma once
// The program folder: map, templates of new databases, postal directory,
// departments and the remembered department.
#include "core/base/error.h"

#include <QString>
#include <QStringList>

namespace tb {

// The names of the files supplied in data/, which a program folder holds.
const QStringList& dataFileNames();

// The program folder, ending with "/": the named folder when given, else the
// executable's folder when it holds "frc.gif" and is writable, else the user's
// data folder. A named or user folder receives the data files it lacks (and
// nothing else: never the executables or the build's files).
QString resolveProgramFolder(const QString& explicitFolder, const QString& executableFolder);

// A folder holding the program's own files (map and departments) is the
// program folder: its "NBFiches.dat" and "carte.txt" are the templates of new
// databases, never a database to open.
bool isProgramFolder(const QString& folder);
Status refuseProgramFolder(const QString& folder);

// The department shown first in the card windows ("DeptCourant.txt").
int currentDepartment(const QString& programFolder);
Status setCurrentDepartment(const QString& programFolder, int index);

}  // namespace tb
