#pragma once
// The commands of the menu "Base de données".
#include "core/lists/card_lists.h"
#include "gui/app/app_context.h"

// alpha, villes, CPostaux, FicArch: fills the list window and shows it.
void showSortedList(AppContext& ctx, tb::ListKind kind);
// octets: the count followed by " fiche(s)".
void showCardCount(AppContext& ctx);
// Voirlesfiches: the card window on the first card with the name list.
void showAllCards(AppContext& ctx);
