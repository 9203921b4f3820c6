#pragma once
// What a database remembers of its CardDAV address book ("carddav.txt" in
// its folder, code page, written crash-safe) and the last vCard fetched for
// each card ("carddav.vcf"): enough for the next sync to tell what changed on
// either side since the last one, and to finish one that was cut short.
#include "core/base/error.h"

#include <QByteArray>
#include <QHash>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace tb {

struct CardDavEntry {
    long long card = 0;     // the card's number here
    QString uid;            // its UID there
    QString href;           // its address in the address book (path)
    QString etag;           // the ETag of the version last sent or fetched
    QByteArray sentDigest;  // vCardDigest of the vCard last sent or stored
};

struct CardDavState {
    static QString fileName() { return QStringLiteral("carddav.txt"); }
    static QString fetchedFileName() { return QStringLiteral("carddav.vcf"); }

    QString server;               // as the user typed it
    QString addressBook;          // the address book's URL, once found
    QString user;
    QString syncToken;            // empty: list every ETag next time
    QString acceptedCertificate;  // SHA-256 (hex) of a certificate the user accepted for this server
    bool atOpening = false;       // sync when the database opens
    int everyMinutes = 0;         // and every N minutes while open (0: never)
    std::optional<QPointF> newContactsPoint;  // on a map other than the default
    QString lastStatus;           // " Dernière synchronisation : …", or the last failure
    std::vector<CardDavEntry> cards;          // sorted by card number
    std::vector<CardDavEntry> deletedHere;    // cards deleted here, to delete there
    QString followedDeletion;     // the last deletion applied (so a resumed one is applied once)

    const CardDavEntry* entry(long long card) const;
    bool configured() const { return !server.isEmpty(); }
};

// The state of the database in folder: empty when it never synced.
Result<CardDavState> readCardDavState(const QString& folder);
Status writeCardDavState(const QString& folder, const CardDavState& state);

// The last vCards fetched, by UID.
Result<QHash<QString, QByteArray>> readFetchedVCards(const QString& folder);
Status writeFetchedVCards(const QString& folder, const QHash<QString, QByteArray>& vcards);

// A deletion moves card last into number deleted: the state follows (the
// deleted card's entry goes to deletedHere, last's becomes deleted's), once
// per deletion named by stamp. Nothing to do without a state file.
Status followDeletionInCardDavState(const QString& folder, long long deleted, long long last, const QString& stamp);

}  // namespace tb
