#pragma once
// What the list window does to the cards selected in it, all at once.
#include "core/base/error.h"

#include <QList>
#include <QUrl>

#include <optional>

namespace tb {

class Database;

struct ArchiveOutcome {
    long long archived = 0;
    long long already = 0;        // archived before
    std::optional<Error> error;   // what stopped it; the cards before it are archived
    // " 3 fiche(s) archivée(s)." and what else there is to say.
    QString report() const;
};
// Archives the active cards of cards, one record written at a time.
ArchiveOutcome archiveCards(Database& db, const QList<long long>& cards);

// One message to every address of cards, each once, in blind copy so that no
// client sees the others'.
struct BccMessage {
    QUrl url;                          // "mailto:?bcc=a@x,b@y"
    long long addresses = 0;
    QList<long long> withoutAddress;   // cards left out
    // What the user is told of the cards without an address ("" when none).
    QString report() const;
};
Result<BccMessage> bccMessage(const Database& db, const QList<long long>& cards);

}  // namespace tb
