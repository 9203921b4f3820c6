#pragma once
// The databases opened lately, newest first, and whether the last one opens
// again at start, kept in the user's settings.
#include <QString>
#include <QStringList>

namespace tb {

class RecentDatabases {
public:
    static constexpr int kKept = 8;

    // The folders (ending with "/") that still hold a database, newest first.
    static QStringList folders();
    // folder goes first; the oldest beyond kKept are forgotten.
    static void add(const QString& folder);
    // Off unless the user asked for it: the program starts without a database.
    static bool reopenAtStart();
    static void setReopenAtStart(bool on);
};

}  // namespace tb
