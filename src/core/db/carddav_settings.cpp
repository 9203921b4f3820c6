#include "core/db/carddav_settings.h"

#include <QUrl>

namespace tb {

namespace {

bool sameAddress(const QString& a, const QString& b)
{
    const auto plain = [](const QString& s) { return QUrl::fromUserInput(s).adjusted(QUrl::StripTrailingSlash); };
    return !a.isEmpty() && !b.isEmpty() && plain(a) == plain(b);
}

}  // namespace

void pointStateAt(CardDavState& state, const QString& server, const QString& addressBook)
{
    // What is known belongs to the address book, not to how its server was typed:
    // dropping it for the same book would send every card again as a new contact.
    QString book = addressBook;
    if (book.isEmpty() && (sameAddress(server, state.server) || sameAddress(server, state.addressBook)))
        book = state.addressBook;
    if (!sameAddress(book, state.addressBook) && !(book.isEmpty() && state.addressBook.isEmpty())) {
        state.syncToken.clear();
        state.cards.clear();
        state.deletedHere.clear();
        state.addressBook = book;
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
