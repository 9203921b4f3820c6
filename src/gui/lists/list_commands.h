#pragma once
// The commands of the menu "Base de données". Those that end in a window
// return what it shows; the main window opens it.
#include "core/lists/card_lists.h"
#include "core/lists/searches.h"
#include "core/lists/sort_keys.h"
#include "gui/app/app_context.h"

#include <functional>
#include <optional>

// False, after the empty-database message, when there is no card to show.
bool hasCardsOrWarn(AppContext& ctx);
// The rows a sorted list shows before the rest is sorted: a few screens.
constexpr int kFirstRows = 256;
// alpha, villes, CPostaux, FicArch: the list (its first rows, the rest
// following), or the error that kept it from being made; nothing after the
// message of an empty database.
std::optional<tb::Result<std::shared_ptr<tb::ListFill>>> sortedList(AppContext& ctx, tb::ListKind kind);
// octets: the count followed by " fiche(s)".
void showCardCount(AppContext& ctx);
// Rechnom, Rechcp1, Rechloc, Rechtelf, rechtelp: asks the beginning of the
// field; the matching cards as sortedList gives them. beforeAsking runs once
// the database is known to hold cards.
std::optional<tb::Result<tb::CardList>> searchList(AppContext& ctx, tb::SearchField field,
                                                   const std::function<void()>& beforeAsking);
// mail: the names and addresses of every card, nothing after the message
// saying why not.
std::optional<tb::EmailLists> emailLists(AppContext& ctx);
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
