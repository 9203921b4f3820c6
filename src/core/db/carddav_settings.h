#pragma once
// The settings a user gives the CardDAV sync, applied to a database's state
// alike by the window and by tabulon-cli.
#include "core/db/carddav_state.h"

namespace tb {

// state pointed at server and, when one is chosen, at addressBook: what
// was known of another address book (token, entries) is dropped, and so is a
// certificate accepted for another host.
void pointStateAt(CardDavState& state, const QString& server, const QString& addressBook);

// How the last sync ended, written into the state of the database in folder.
Status keepLastStatus(const QString& folder, const QString& status);

}  // namespace tb
