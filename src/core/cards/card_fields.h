#pragma once
// Small rules on the texts of a card shared by both card windows.
#include "core/cards/card_record.h"
#include "core/cards/pin_field.h"

#include <QString>
#include <QStringList>

namespace tb {

// Captions of fields 2 to 10 (Label1(1) to Label1(9)).
QStringList fixedFieldCaptions();

// Status of a card from its marker: "active"/"archivée", or with a capital
// when capitalized (the forms of the main window's list command).
QString statusWord(const PinField& pin, bool capitalized = false);

// The surname as stored: in capitals, where the code page has the capital.
QString surnameInCapitals(const QString& surname);
// A card as a creation or "Valider la modification" stores it: its surname
// in capitals (a move, a journal or a debt calculation store it as typed).
CardRecord validatedCard(CardRecord card);
// Which card a question is about: "DUPONT Jean — fiche n° 12".
QString cardTitle(const CardRecord& card, long long n);

}  // namespace tb
