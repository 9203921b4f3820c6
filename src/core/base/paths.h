#pragma once
#include <QString>

namespace tb {

// A folder's absolute path with exactly one final "/" ("/" stays "/"): the
// form of every folder text (database folder, program folder, browsers).
QString folderText(const QString& folder);

}  // namespace tb
