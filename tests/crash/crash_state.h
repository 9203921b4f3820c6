#pragma once
// What the crash test compares: every acknowledged change a database holds,
// as the worker's model expects it and as read back from the disk.
#include "core/db/database.h"

#include <QStringList>
#include <vector>

namespace crash {

struct CardFiles {
    QStringList memento;
    QString note;
    bool photo = false;
};

struct State {
    std::vector<QByteArray> records;  // 630 bytes each, cards 1..count
    std::vector<CardFiles> files;     // the same cards' memento and note
    QStringList captions;
    qint64 exportSize = -1;  // -1: no "export.txt"

    QByteArray digest() const;  // hex, of everything above
};

State readState(const tb::Database& db);
// A new card's memento and note: the database's templates.
CardFiles templateFiles(const tb::Database& db);
// Size of "export.txt" for count cards.
qint64 exportSizeFor(long long count);

// Where the worker keeps its backups and restores them; each holds at most one
// whole copy at a time.
inline QString backupsFolder(const QString& programFolder) { return programFolder + QStringLiteral("Copies/"); }
inline QString restoresFolder(const QString& programFolder) { return programFolder + QStringLiteral("Restaurations/"); }
// The copies in folder that are visible (not being made).
QStringList visibleCopies(const QString& folder);

}  // namespace crash
