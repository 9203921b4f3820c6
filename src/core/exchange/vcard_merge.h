#pragma once
// A card's vCard as a CardDAV address book keeps it: what Tabulon owns in it
// is ours to write, everything else (a phone's other numbers, addresses,
// URLs, its own properties) stays as the server last gave it.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tb {

// The properties Tabulon owns: N, FN, the ADR, the two TEL and the EMAIL the
// reading keeps, ORG, TITLE, BDAY, NOTE, PHOTO and X-TABULON-PIN.
// ours: the export's vCard of the card (vCardOf). theirs: the last vCard
// fetched for it, empty when none. Gives theirs with its owned properties
// replaced by ours and its other lines byte for byte, under UID uid.
QByteArray mergedVCard(const QByteArray& ours, const QByteArray& theirs, const QString& uid);
// The same for a database whose captions (exchangeCaptions()) may lack a
// company, job title, birthday or notes field: theirs' ORG, TITLE, BDAY or
// NOTE then stays as it was unless ours has one.
QByteArray mergedVCard(const QByteArray& ours, const QByteArray& theirs, const QString& uid,
                       const QStringList& captions);

// What tells whether a card changed since it was last sent: a hex SHA-256 of
// the owned properties of a vCard (photo included), the same for the same
// card whatever its unowned lines, folding or line ends.
// The digest of a merged vCard is the digest of ours given the same captions
// (but for theirs' NOTE kept when the database has no notes field): digest
// ours, the vCard of the card.
QByteArray vCardDigest(const QByteArray& vcard);
QByteArray vCardDigest(const QByteArray& vcard, const QStringList& captions);

// The UID of a vCard as written, empty when none.
QString vCardUid(const QByteArray& vcard);

// A new UID for a card that has none yet.
QString newCardUid();

}  // namespace tb
