#pragma once
// The commands of the menu "Base de données" and the opening of a card from
// the list window.
#include "gui/app/app_context.h"
#include "core/lists/card_lists.h"

// alpha, villes, CPostaux, FicArch: fills the list window and shows it.
void showSortedList(AppContext& ctx, tb::ListKind kind);
// octets: the count followed by " fiche(s)".
void showCardCount(AppContext& ctx);
// Voirlesfiches: the card window on card 1 with its name list.
void showAllCards(AppContext& ctx);
// A left click on line row of the list window (-1: below the last line).
void openCardFromList(AppContext& ctx, int row);

// Reads "NBFiches.dat" into Label6 (a missing file leaves it as it was) and
// returns its numeric value; 0 shows the empty-database message.
long long readCountOrWarn(AppContext& ctx);
