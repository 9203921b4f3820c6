#pragma once
// The lists of cards built from the records in one pass: the four sorted
// lists of "Base de données", the name list of the card window and the cards
// at a map click.
#include "core/base/error.h"
#include "core/cards/card_record.h"
#include "core/lists/card_list.h"

#include <QStringList>

#include <array>

#include <vector>

class CardStore;

namespace tb {

enum class ListKind { Alphabetical, ByCity, ByPostalCode, Archived };

// The display line of a card is four fields at their full width joined by
// single blanks; a card is active when its marker is a digit 1 to 9.
using KeyFields = std::array<int, 4>;  // field numbers, 1 to 20
KeyFields keyFields(ListKind kind);
bool activeRecord(QByteArrayView record);

// Cards 1..count of the kind (active ones, or archived ones for Archived),
// sorted.
Result<CardList> buildCardList(const CardStore& store, long long count, ListKind kind);
// Every card 1..count, active and archived, by name entry (surname, a blank,
// first names), sorted.
Result<CardList> buildNameList(const CardStore& store, long long count);
// The name entry of a card, as the name list shows it.
QString nameEntry(const CardRecord& card);
// The cards of numbers (within 1..count), in increasing card number, unsorted,
// with the alphabetical display line.
Result<CardList> hitList(const CardStore& store, long long count, const std::vector<long long>& numbers);

// The two lists of the e-mail window, line k for card k + 1, archived cards
// included: civility, surname and first names, and the e-mail address, each
// field at its full width.
struct EmailLists {
    QStringList names;
    QStringList addresses;
};
Result<EmailLists> buildEmailLists(const CardStore& store, long long count);

}  // namespace tb
