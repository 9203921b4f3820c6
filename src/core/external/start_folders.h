#pragma once
// Where the file choosers start: where a user keeps such files, and for
// imports, exports and backups the last folder used for each, kept in the
// user's settings. Never the program folder, which holds the program's data.
#include <QString>

namespace tb {

enum class ChooserKind { Import, Export, Backup };

// The user's pictures (photos, scans) and documents folders, or the home
// folder when the desktop has none.
QString picturesFolder();
QString documentsFolder();

// The last folder used for kind when it is still there, otherwise "".
QString lastFolder(ChooserKind kind);
// The last folder used for kind, otherwise the documents folder.
QString startFolder(ChooserKind kind);
// path was chosen for kind: a file (its folder is kept) or a folder.
void rememberChosen(ChooserKind kind, const QString& path);

}  // namespace tb
