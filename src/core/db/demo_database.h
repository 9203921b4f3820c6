#pragma once
// Demonstration databases: a new database filled with plausible French cards,
// the same bytes for the same seed, fast enough for a million cards.
#include "core/base/error.h"
#include "core/db/database.h"

#include <QString>
#include <memory>

namespace tb {

// Where a department's pins gather on the default map (pixels of frc.gif):
// around (x, y) within radius. Null for a department the map does not show.
struct DepartmentSpot {
    int department = 0;
    int x = 0, y = 0, radius = 0;
};
const DepartmentSpot* departmentSpot(int department);

// Adds cards cards to the empty database folder (records in large blocks,
// then the count), drawn from the program folder's postal directory. No side
// files are made. An error when the folder already holds cards or the
// directory has no commune with a place on the map.
Status fillDemoCards(const QString& databaseFolder, const QString& programFolder, long long cards,
                     quint64 seed);

// A new database named name in the program folder, made as the program makes
// one, then filled with cards (see fillDemoCards).
Result<std::unique_ptr<Database>> createDemoDatabase(const QString& programFolder, const QString& name,
                                                     long long cards, quint64 seed,
                                                     QList<Error>* templateErrors = nullptr);

}  // namespace tb
