#pragma once
// The lists of cards built from the store in one pass: the four sorted lists
// of "Base de données", the name list of the card window and the cards at a
// map click.
#include "cards/card_record.h"
#include "lists/parallel_lists.h"

#include <QByteArrayView>
#include <vector>

class CardStore;

namespace tb {

enum class ListKind { Alphabetical, ByCity, ByPostalCode, Archived };

// Active card: the marker character is a digit 1 to 9; "0", a blank or any
// other character is an archived card (or a record never written).
bool isActiveMarker(QChar marker);

// The display line of a card in a list of that kind: four fields at their
// full width joined by single blanks.
QString displayLine(const CardRecord& card, ListKind kind);
// Name entry of the card window: surname, a blank, first names (padded).
QString nameEntry(const CardRecord& card);

// Cards 1..count of the kind (active ones, or archived ones for Archived),
// sorted.
ParallelLists buildCardList(const CardStore& store, long long count, ListKind kind);
// Every card 1..count, active and archived, by name entry, sorted.
ParallelLists buildNameList(const CardStore& store, long long count);
// The cards of numbers (within 1..count), in increasing card number, unsorted,
// with the alphabetical display line.
ParallelLists hitList(const CardStore& store, long long count, const std::vector<long long>& numbers);

}  // namespace tb
