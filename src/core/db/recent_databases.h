#pragma once
// The databases opened lately, newest first, whether the last one opens
// again at start, and the backups made, kept in the user's settings.
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

namespace tb {

// The user's settings of this program (never the program folder).
std::unique_ptr<QSettings> userSettings();

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

// The dated backups this program made, so that erasing a person can name the
// copies that still hold them.
class RememberedBackups {
public:
    static constexpr int kKept = 100;
    // The folders (ending with "/") that are still there, newest first.
    static QStringList folders();
    static void add(const QString& folder);
};

}  // namespace tb
