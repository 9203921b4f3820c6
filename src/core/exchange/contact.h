#pragma once
// A contact read from another program's file, before it becomes a card.
#include "core/cards/card_record.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace tb {

// The marker and pin a card had, as Tabulon's own export carries them.
struct ContactPin {
    QChar marker;  // "0" to "9", or a blank (an archived card)
    double x = 0, y = 0;
};

struct Contact {
    // Texts of fields 2 to 20 at index k-1, as found: not cut, any letters.
    std::array<QString, CardRecord::kFieldCount> fields;
    QByteArray photo;     // image bytes, empty when none
    QStringList notKept;  // what the file held that no field takes
    QStringList remarks;  // what the reading chose or changed, for the report
    QString country;      // of the address, empty when none is given
    std::optional<ContactPin> pin;

    const QString& field(CardField k) const { return fields[fieldIndex(k)]; }
    QString& field(CardField k) { return fields[fieldIndex(k)]; }
    const QString& field(int k) const { return field(CardField(k)); }
    QString& field(int k) { return field(CardField(k)); }
    // "DUPONT Jean", or "(sans nom)", for the messages.
    QString label() const;
};

// The captions of fields 2 to 20 as the exchange files name them: the fixed
// ones, then the database's ten ("Champ 11" for a blank one).
QStringList exchangeCaptions(const QStringList& databaseCaptions);

// Lower case, without accents, blanks or punctuation: "N° de téléphone"
// matches "n de telephone" and "N°Téléphone".
QString captionKey(const QString& text);

// What other programs give apart from the fixed fields; each goes to the
// custom field whose caption names it.
enum class ContactRole { Company, JobTitle, Birthday, Notes };
// The field (11 to 20) whose caption names the role, 0 when none does.
// captions: exchangeCaptions().
int fieldOfRole(ContactRole role, const QStringList& captions);

// "France", "FR", "République française"... without accents or case; a blank
// country is France too.
bool isFrance(const QString& country);

// A birthday as the cards keep it, "jj/mm/aaaa", from the forms address books
// write ("1975-03-12", "19750312", "1975-03-12T00:00:00Z", "--0312" without a
// year gives "12/03"); Outlook's "0/0/00" is none; any other text is given
// back as it is.
QString birthdayText(const QString& text);

// The first names a field of width holds: the given name with the additional
// ones when all fit, otherwise the given name alone and the others go to
// *rest (never a list of names cut in the middle).
QString firstNamesFitting(const QString& given, const QString& additional, int width, QString* rest);

// The text of a stored field without the blanks that pad it.
QString storedText(const QString& field);
// The same on the field's bytes.
QByteArrayView storedBytes(QByteArrayView field);

}  // namespace tb
