#pragma once
// The database's trash ("Corbeille/"): each deleted card kept whole in a
// numbered folder (its record, its side files and journals under the names
// they had, the date of deletion and its former number), so it can come back.
#include "core/base/error.h"
#include "core/cards/card_record.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace tb {

struct TrashEntry {
    int number = 0;
    QDateTime deleted;
    long long formerNumber = 0;
    CardRecord card;
    QStringList files;  // the side files' names, as they were in the database
};

class Trash {
public:
    // databaseFolder ends with "/".
    explicit Trash(const QString& databaseFolder);

    static QString folderName() { return QStringLiteral("Corbeille"); }
    QString folder() const { return m_folder; }
    QString entryFolder(int number) const;
    bool holds(int number) const;

    // Every whole entry, newest first. An entry that cannot be read is an error.
    Result<std::vector<TrashEntry>> entries() const;
    Result<TrashEntry> entry(int number) const;
    // A number no entry has taken yet.
    int nextNumber() const;

    // Entry number receives the card and copies of the named files of the
    // database folder: whole, synced and named at once, or not there at all.
    Status keep(int number, long long formerNumber, const CardRecord& card, const QStringList& sideFiles,
                const QDateTime& when) const;
    // Entries begun or removed but cut short by a crash go (under the lock).
    void dropLeftovers() const;
    Status remove(int number) const;
    Status empty() const;

    // What the trash holds that is no whole entry (a crash cut it short, or
    // another program put it there), for check.
    QStringList strays() const;

private:
    QString m_folder;
};

// The date of deletion as the trash shows it ("07/12/2026").
QString deletionDay(const QDateTime& when);
// An entry as tabulon-cli lists it: its number, a tab, the day of deletion,
// a tab, the card's line in the alphabetical list.
QString trashListLine(const TrashEntry& entry);

}  // namespace tb
