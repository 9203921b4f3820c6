#pragma once
// Small rules on the texts of a card shared by both card windows.
#include "core/cards/card_record.h"

#include <QString>
#include <QStringList>

namespace tb {

// Captions of fields 2 to 10 (Label1(1) to Label1(9)).
QStringList fixedFieldCaptions();

// Field 1 with its first character (the marker digit) replaced by digit;
// the position text after it is kept.
QString withMarker(const QString& field1, QChar digit);

// Status of a card from its field 1: "active"/"archivée", or with a capital
// when capitalized (the forms of the main window's list command).
QString statusWord(const QString& field1, bool capitalized = false);

// The surname as stored: in capitals, where the code page has the capital.
QString surnameInCapitals(const QString& surname);
// Which card a question is about: "DUPONT Jean — fiche n° 12".
QString cardTitle(const CardRecord& card, long long n);

}  // namespace tb
