#include "core/db/carddav_settings.h"

#include <QUrl>

namespace tb {

void pointStateAt(CardDavState& state, const QString& server, const QString& addressBook)
{
    const bool otherBook = !addressBook.isEmpty() && addressBook != state.addressBook;
    if (state.server != server || otherBook) {
        state.syncToken.clear();
        state.cards.clear();
        state.deletedHere.clear();
        state.addressBook = addressBook;
    }
    if (QUrl::fromUserInput(state.server).host() != QUrl::fromUserInput(server).host())
        state.acceptedCertificate.clear();
    state.server = server;
}

Status keepLastStatus(const QString& folder, const QString& status)
{
    Result<CardDavState> state = readCardDavState(folder);
    if (!state)
        return state.error();
    state->lastStatus = status;
    return writeCardDavState(folder, *state);
}

}  // namespace tb
