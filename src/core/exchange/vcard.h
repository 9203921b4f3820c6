#pragma once
// vCard files: written in version 3.0 (what phones, mail programs and web
// address books all import), read in versions 2.1, 3.0 and 4.0. Our own
// reader: Debian's libbelcard (5.1) parses 4.0 only and rejects the 2.1 and
// 3.0 files phones write.
#include "core/base/error.h"
#include "core/exchange/card_choice.h"
#include "core/exchange/contact.h"

#include <QByteArray>
#include <QStringList>
#include <optional>
#include <vector>

namespace tb {

class Database;

// One card as a vCard: N (civility as honorific prefix), FN, ADR (country
// France), TEL, EMAIL, the fields captioned as company, job title, birthday
// and notes as ORG, TITLE, BDAY and NOTE's free text, the other custom fields
// as NOTE lines "caption: value", the marker and pin as X-TABULON-PIN, and
// the photo when there is one; read back, it gives the same record.
// captions: exchangeCaptions().
QByteArray vCardOf(const CardRecord& card, const QStringList& captions, const QByteArray& photo);

// Writes the active cards (or every card) of the database to path, whole or
// not at all. Returns the number of cards written.
Result<long long> writeVCardFile(const Database& db, const QString& path, const CardChoice& cards);

// The contacts of a vCard file. Folded lines, quoted-printable, charset
// parameters and base64 photos are read; the first landline, mobile, address
// and e-mail are kept, the rest go to notKept. NOTE lines "caption: value"
// fill the field of that caption; captions: exchangeCaptions().
// What a whole file gives: its contacts, what it held outside them, or why
// it is refused (more than 256 Mo or a million contacts, no card at all).
constexpr qsizetype kMaxVCardFileBytes = qsizetype(256) << 20;
struct VCardReading {
    std::vector<Contact> contacts;
    QStringList notes;
    std::optional<Error> error;
};
VCardReading readVCardFile(const QByteArray& bytes, const QStringList& captions);
// The same from the file at path, never reading more of it than the limit.
VCardReading readVCardPath(const QString& path, const QStringList& captions);
std::vector<Contact> readVCards(const QByteArray& bytes, const QStringList& captions);

// What each line of one vCard is to a card, as the reading sees it: the
// TEL, ADR and EMAIL it keeps (the others are Other) and the first of the
// properties it reads into fields (every NOTE). Lines of a card within the
// card (AGENT) are Other.
enum class VCardRole {
    Other, Begin, End, Version, Uid, Name, FullName, Address, Landline, Mobile, Email, Organisation, Title,
    Birthday, Note, Photo, Pin
};
struct VCardLine {
    qsizetype begin = 0, end = 0;  // its bytes: folded lines and line end included
    VCardRole role = VCardRole::Other;
    QByteArray group;    // as written ("item1"), empty when none
    QByteArray value;    // unfolded, as written
    bool preferred = false;
};
// Every line in order, blank ones too: end to end they are the whole vCard.
std::vector<VCardLine> vCardLines(QByteArrayView vcard);
// A property line folded at 75 bytes as the export folds it, ended by CR LF.
QByteArray vCardFolded(QByteArrayView line);

}  // namespace tb
