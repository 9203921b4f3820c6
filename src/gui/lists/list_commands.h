#pragma once
// The commands of the menu "Base de données".
#include "core/lists/card_lists.h"
#include "core/lists/searches.h"
#include "gui/app/app_context.h"

// The list window showing list, or the error that kept it from being made.
void showListWindow(AppContext& ctx, tb::Result<tb::CardList> list);
// alpha, villes, CPostaux, FicArch: fills the list window and shows it.
void showSortedList(AppContext& ctx, tb::ListKind kind);
// octets: the count followed by " fiche(s)".
void showCardCount(AppContext& ctx);
// Voirlesfiches: the card window on the first card with the name list.
void showAllCards(AppContext& ctx);
// Rechnom, Rechcp1, Rechloc, Rechtelf, rechtelp: asks the beginning of the
// field and shows the matching cards in the list window.
void showSearch(AppContext& ctx, tb::SearchField field);
// export: writes "export.txt" into the database folder and says where.
void exportCards(AppContext& ctx);
// Adresses: writes "adresses.txt" into the database folder and hands it to
// the word processor.
void exportAddresses(AppContext& ctx);
// AppelGE: explains how to import "export.txt" and starts the database
// manager alone.
void callDatabaseManager(AppContext& ctx);
// AppelMDB: writes "export.txt", says where, and opens the database's
// "tabulon.mdb" with the database manager.
void callDatabaseManagerWithExport(AppContext& ctx);
