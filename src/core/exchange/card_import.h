#pragma once
// Contacts become cards: letters and widths fitted to the record, pins placed,
// duplicates resolved, every card created whole through the Database.
#include "core/base/error.h"
#include "core/exchange/contact.h"

#include <QPointF>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace tb {

class Database;

// Where the imported cards' pins go.
struct Placement {
    // On the default map: near the point of the department of the postal
    // code. Otherwise at point, clicked once for the whole import.
    bool byDepartment = true;
    QPointF point;
};

// True when the database shows the default map "frc.gif".
bool usesDefaultMap(const Database& db);

// Where a card of postal code postalCode goes on the default map, the index
// spreading the cards of one department around its point. Cards without a
// department on the map go to the default point (the sea off Brittany).
QPointF departmentPoint(const QString& postalCode, long long index, bool* found = nullptr);

// The card of a contact: letters the code page lacks written as their nearest
// letter or "?", texts cut to their widths, the pin at its place with the
// marker digit. Each change is added to notes for the user, the fields named
// by captions (exchangeCaptions()).
CardRecord cardOfContact(const Contact& contact, const QStringList& captions, const Placement& placement, int marker,
                         long long index, QStringList* notes);

// Surname, first names and postal code without accents, case or extra blanks;
// empty when the card has neither surname nor first names.
QString duplicateKey(const CardRecord& card);

// The e-mail address without case or blanks; empty when none.
QString emailKey(const CardRecord& card);
// The digits of the mobile number, "+33 6…" and "0033 6…" read as "06…";
// empty when fewer than 8 digits.
QString mobileKey(const CardRecord& card);

// What makes a contact the same as a card already there, tried in this order.
enum class DuplicateRule { Names, Email, Mobile };
// "même nom, mêmes prénoms et même code postal", "même adresse e-mail",
// "même numéro de portable".
QString duplicateRuleText(DuplicateRule rule);

enum class DuplicateChoice { Skip, Create, Fill };
struct DuplicateDecision {
    DuplicateChoice choice = DuplicateChoice::Skip;
    bool forAll = false;
};
// Asked for a card that matches card existing of the database by rule.
using DuplicateResolver = std::function<DuplicateDecision(const CardRecord& incoming, long long existing,
                                                          const CardRecord& existingCard, DuplicateRule rule)>;
// The same answer for all.
DuplicateResolver alwaysAnswer(DuplicateChoice choice);

// A contact's photo as the program shows it: JPEG bytes, empty when it
// cannot be read or is too large to show.
QByteArray jpegOf(const QByteArray& photo);
// Writes it as card n's photo, over the one it had; empty: the card's photo
// is removed.
Status keepContactPhoto(Database& db, long long n, const QByteArray& jpeg);

// card with its empty fields (2 to 20) taken from incoming.
CardRecord filledCard(const CardRecord& card, const CardRecord& incoming);

struct ImportReport {
    long long created = 0;
    long long filled = 0;
    long long skipped = 0;
    long long notCreated = 0;    // contacts with nothing for a card
    QStringList notes;           // cuts, letters, things not kept, duplicates
    std::optional<Error> error;  // what stopped the import; cards before it are whole
    // "12 fiche(s) créée(s), 1 complétée(s), 2 ignorée(s)."
    QString summary() const;
};

struct ImportOptions {
    Placement placement;
    int marker = 1;
    // Program folder for the automatic backup (none when empty).
    QString programFolder;
    // Cards made whole or not at all together: enough for one flush to serve
    // many cards, few enough that a failure takes back little.
    size_t batchSize = 500;
};

// Keeps the automatic backup, then creates the cards in batches, each
// whole or not at all. Duplicates are the cards there before the import
// began: contacts repeated within the file are each created. A failure stops the import: the cards of the batches
// before it are whole, none of the failed batch is there, and the error says why.
ImportReport importContacts(Database& db, const std::vector<Contact>& contacts, const ImportOptions& options,
                            const DuplicateResolver& resolve);

}  // namespace tb
