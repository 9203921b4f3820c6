#pragma once
// Two-way sync of a database with one CardDAV address book: cards changed
// here go there, contacts changed there come here, deletions go both ways
// (into the trash here), a card changed on both sides is asked about, and
// what Tabulon does not keep of a contact stays on the server.
#include "core/base/error.h"
#include "core/cards/card_record.h"
#include "core/exchange/card_import.h"
#include "sync/carddav_client.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <functional>
#include <optional>

namespace tb {

class Database;

struct SyncConflict {
    long long card = 0;
    CardRecord here;
    CardRecord there;  // the contact as a card
};
enum class ConflictChoice { Undecided, KeepHere, KeepThere, Merge };
struct ConflictDecision {
    ConflictChoice choice = ConflictChoice::Undecided;
    CardRecord merged;    // with Merge
    bool forAll = false;  // the same choice (KeepHere or KeepThere) for the next ones
};
// Asked for each conflict; none, or Undecided: left in conflict for next time.
using ConflictResolver = std::function<ConflictDecision(const SyncConflict&)>;

struct SyncOptions {
    CardDavServer server;     // url: the address book (found once, kept in the state)
    Placement placement;      // where new contacts' pins go
    QString programFolder;    // for the automatic backup before the first sync
    ConflictResolver resolve;
};

struct SyncReport {
    long long sent = 0;        // cards uploaded
    long long received = 0;    // contacts stored into cards, new cards included
    long long created = 0;     // of them, new cards
    long long trashed = 0;     // cards put into the trash because deleted there
    long long deletedThere = 0;
    long long conflicts = 0;   // left undecided
    QStringList notes;         // skipped contacts, cards put into the trash, retries
    std::optional<Error> error;
    bool passwordRefused = false;  // the error is the server's 401
    // " Dernière synchronisation : 08/12/2026 14:05 — 3 envoyée(s), 1 reçue(s), 0 en conflit"
    QString statusLine(const QDateTime& when) const;
};

// Syncs db with the address book of options and keeps the state file in
// step after each step, so that a sync cut short anywhere is finished by
// the next one.
SyncReport synchronize(Database& db, const SyncOptions& options);

}  // namespace tb
