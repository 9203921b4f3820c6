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

}  // namespace crash
