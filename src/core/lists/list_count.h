#pragma once
// What the list window says under its list: how many cards and which list it
// is, and what a line's tooltip tells of its card.
#include "core/lists/card_lists.h"

#include <QString>

struct CardRecord;

namespace tb {

// The lists the list window shows.
enum class ListShown { Alphabetical, ByCity, ByPostalCode, Archived, Search, Zone, MapPoint };
ListShown listShown(ListKind kind);

// " 1 fiche — par ville", " 53 fiches — recherche"; " Aucune fiche." when
// the list is empty.
QString listCountLine(long long count, ListShown shown);

// "17340 CHÂTELAILLON-PLAGE, fiche n° 12": homonyms told apart.
QString cardLineTip(const CardRecord& card, long long number);

}  // namespace tb
