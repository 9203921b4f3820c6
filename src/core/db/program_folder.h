#pragma once
#include <QString>

namespace tb {

// The program folder, ending with "/": the named folder when given, else the
// executable's folder when it holds "frc.gif" and is writable, else the user's
// data folder. A named or user folder receives the installed data files it
// lacks.
QString resolveProgramFolder(const QString& explicitFolder, const QString& executableFolder);

// Makes the program folder the current folder (most commands start so).
void makeProgramFolderCurrent(const QString& programFolder);

}  // namespace tb
