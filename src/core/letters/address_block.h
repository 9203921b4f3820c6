#pragma once
// The address of a card as La Poste wants it on a letter.
#include "core/cards/card_record.h"

#include <QStringList>

namespace tb {

// Civility, first names and surname; the street; the postal code and the city
// in capitals last. Empty lines left out; at most six lines of at most 38
// characters, a longer line cut at a word.
QStringList postalAddressLines(const CardRecord& card);

}  // namespace tb
