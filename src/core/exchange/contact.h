#pragma once
// A contact read from another program's file, before it becomes a card.
#include "core/cards/card_record.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace tb {

// Card field numbers (as the cards number them) the exchanges use.
enum CardField : int {
    kFieldPosition = 1,
    kFieldCivility = 2,
    kFieldSurname = 3,
    kFieldFirstNames = 4,
    kFieldStreet = 5,
    kFieldPostalCode = 6,
    kFieldCity = 7,
    kFieldLandline = 8,
    kFieldMobile = 9,
    kFieldEmail = 10,
    kFieldFirstCustom = 11,
};

struct Contact {
    // Texts of fields 2 to 20 at index k-1, as found: not cut, any letters.
    std::array<QString, CardRecord::kFieldCount> fields;
    QByteArray photo;     // image bytes, empty when none
    QStringList notKept;  // what the file held that no field takes

    const QString& field(int k) const { return fields[size_t(k - 1)]; }
    QString& field(int k) { return fields[size_t(k - 1)]; }
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

// The text of a stored field without the blanks that pad it.
QString storedText(const QString& field);

}  // namespace tb
