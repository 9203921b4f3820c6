// Temporary stand-in for the sync engine until branch sync-net is merged.
#include "sync/card_sync.h"
#include "sync/carddav_client.h"
#include "sync/password_store.h"

namespace tb {

struct CardDavClient::Private {
    CardDavServer server;
};
CardDavClient::CardDavClient(CardDavServer server) : d(std::make_unique<Private>()) { d->server = std::move(server); }
CardDavClient::~CardDavClient() = default;
static Error unreachable(const QUrl& url)
{
    return Error{kNoErrorNumber, QStringLiteral("Erreur de synchronisation : le serveur ") + url.host()
                                     + QStringLiteral(" ne répond pas (connexion refusée)")};
}
Result<std::vector<AddressBookInfo>> CardDavClient::discover() { return unreachable(d->server.url); }
Result<RemoteChanges> CardDavClient::changesSince(const QUrl& u, const QString&) { return unreachable(u); }
Result<std::vector<RemoteContact>> CardDavClient::fetch(const QUrl& u, const std::vector<QString>&) { return unreachable(u); }
Result<QString> CardDavClient::put(const QUrl& u, const QString&, const QByteArray&, const QString&) { return unreachable(u); }
Status CardDavClient::remove(const QUrl& u, const QString&, const QString&) { return unreachable(u); }
QString CardDavClient::untrustedCertificate() const { return {}; }
int CardDavClient::lastStatus() const { return 0; }

QString SyncReport::statusLine(const QDateTime& when) const
{
    return QStringLiteral(" Dernière synchronisation : ") + when.toString(QStringLiteral("dd/MM/yyyy HH:mm")) + QStringLiteral(" — ")
           + QString::number(sent) + QStringLiteral(" envoyée(s), ") + QString::number(received)
           + QStringLiteral(" reçue(s), ") + QString::number(conflicts) + QStringLiteral(" en conflit");
}

SyncReport synchronize(Database&, const SyncOptions& options)
{
    SyncReport r;
    r.error = unreachable(options.server.url);
    return r;
}

static bool g_missing = false;
Result<QString> readSyncPassword(const QString&, const QString&)
{
    g_missing = true;
    return Error{kNoErrorNumber, QStringLiteral("Pas de trousseau de clés")};
}
Status keepSyncPassword(const QString&, const QString&, const QString&)
{
    g_missing = true;
    return Error{kNoErrorNumber, QStringLiteral("Pas de trousseau de clés")};
}
bool keyringMissing() { return g_missing; }

}  // namespace tb
