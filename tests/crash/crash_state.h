#pragma once
// What the crash test compares: every acknowledged change a database holds,
// as the worker's model expects it and as read back from the disk.
#include "core/db/database.h"

#include <QByteArray>
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

    // Hex digest of everything above.
    QByteArray digest() const;
};

// The state as the database's files hold it.
State readState(const tb::Database& db);

// What a new card's memento and note hold: the database's templates.
CardFiles templateFiles(const tb::Database& db);

// Size of "export.txt" for count cards.
qint64 exportSizeFor(long long count);

// Where the worker keeps its backups, and restores them (inside the program
// folder); each holds at most one whole copy at a time.
QString backupsFolder(const QString& programFolder);
QString restoresFolder(const QString& programFolder);
// The copies in folder that are visible (not being made).
QStringList visibleCopies(const QString& folder);

}  // namespace crash
