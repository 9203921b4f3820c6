#include "sync/carddav_client.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslError>
#include <QXmlStreamReader>

namespace tb {

namespace {

constexpr auto kDav = "DAV:";
constexpr auto kCardDav = "urn:ietf:params:xml:ns:carddav";
// hrefs per addressbook-multiget: large enough for few round trips, small
// enough that a server never answers with one huge document.
constexpr size_t kFetchBatch = 200;

Error syncError(const QString& reason)
{
    return Error{kNoErrorNumber, QStringLiteral("Erreur de synchronisation : ") + reason};
}

// The path of an href (absolute, relative or a whole URL), decoded, so that
// the server's spelling and ours compare equal.
QString hrefPath(const QString& href)
{
    return QUrl::fromPercentEncoding(QUrl(href.trimmed()).path(QUrl::FullyEncoded).toUtf8());
}

QString hexFingerprint(const QSslCertificate& certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex());
}

// What the user pasted: "AB:CD…", "ab cd…" or "abcd…".
QString normalizedFingerprint(QString text)
{
    text.remove(u':');
    text.remove(u' ');
    return text.toLower();
}

QByteArray escaped(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

// One <response> of a multistatus, with the properties of its 200 propstat.
struct DavResponse {
    QString href;
    int status = 0;  // of the response itself (a removed member), else 0
    QString etag;
    QByteArray addressData;
    QString displayName;
    QString principal;
    QString homeSet;
    bool addressBook = false;
    bool collection = false;
};

struct Multistatus {
    std::vector<DavResponse> responses;
    QString syncToken;
};

int statusOfLine(const QString& line)
{
    // "HTTP/1.1 404 Not Found"
    const QStringList parts = line.simplified().split(u' ');
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}

std::optional<Multistatus> parseMultistatus(const QByteArray& body)
{
    QXmlStreamReader xml(body);
    Multistatus out;
    DavResponse current;
    // Inside a propstat: its properties go to current only when its status is 200.
    DavResponse props;
    int propStatus = 0;
    QStringList path;  // the local names of the open elements, DAV and CardDAV only
    const auto inside = [&](const char* name) { return path.contains(QLatin1String(name)); };
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const bool known = xml.namespaceUri() == QLatin1String(kDav) || xml.namespaceUri() == QLatin1String(kCardDav);
            const QString name = known ? xml.name().toString() : QStringLiteral("?");
            path << name;
            const bool dav = xml.namespaceUri() == QLatin1String(kDav);
            if (dav && name == u"response") {
                current = DavResponse{};
            } else if (dav && name == u"propstat") {
                props = DavResponse{};
                propStatus = 0;
            } else if (name == u"addressbook" && xml.namespaceUri() == QLatin1String(kCardDav) && inside("resourcetype")) {
                props.addressBook = true;
            } else if (dav && name == u"collection" && inside("resourcetype")) {
                props.collection = true;
            } else if (dav && name == u"href" && path.size() >= 2) {
                const QString text = xml.readElementText();
                path.removeLast();
                if (inside("current-user-principal"))
                    props.principal = text.trimmed();
                else if (inside("addressbook-home-set"))
                    props.homeSet = text.trimmed();
                else if (path.last() == u"response" && current.href.isEmpty())
                    current.href = text.trimmed();
            } else if (dav && name == u"status") {
                const int status = statusOfLine(xml.readElementText());
                path.removeLast();
                if (path.last() == u"propstat")
                    propStatus = status;
                else if (path.last() == u"response")
                    current.status = status;
            } else if (dav && name == u"getetag" && inside("prop")) {
                props.etag = xml.readElementText().trimmed();
                path.removeLast();
            } else if (dav && name == u"displayname" && inside("prop")) {
                props.displayName = xml.readElementText().trimmed();
                path.removeLast();
            } else if (name == u"address-data" && inside("prop")) {
                props.addressData = xml.readElementText().toUtf8();
                path.removeLast();
            } else if (dav && name == u"sync-token" && path.size() == 2) {
                out.syncToken = xml.readElementText().trimmed();
                path.removeLast();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            const QString name = path.isEmpty() ? QString() : path.takeLast();
            if (name == u"propstat" && (propStatus == 200 || propStatus == 0)) {
                const auto take = [](auto& to, const auto& from) {
                    if (!from.isEmpty())
                        to = from;
                };
                take(current.etag, props.etag);
                take(current.addressData, props.addressData);
                take(current.displayName, props.displayName);
                take(current.principal, props.principal);
                take(current.homeSet, props.homeSet);
                current.addressBook = current.addressBook || props.addressBook;
                current.collection = current.collection || props.collection;
            } else if (name == u"response") {
                out.responses.push_back(std::move(current));
            }
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return out;
}

}  // namespace

struct CardDavClient::Private {
    CardDavServer server;
    QNetworkAccessManager network;
    bool authUpFront = false;
    int lastStatus = 0;
    QString untrusted;

    struct Answer {
        int status = 0;
        QByteArray body;
        QByteArray etag;
        QUrl location;
    };

    QUrl resolved(const QUrl& base, const QString& href) const
    {
        QUrl url = base;
        url.setPath(hrefPath(href), QUrl::DecodedMode);
        url.setQuery(QString());
        url.setFragment(QString());
        return url;
    }

    // One request, waited for; the body again with the credentials when the
    // server asks for them. An Error for a failure of the connection and for
    // 401; any other status is the caller's to judge.
    Result<Answer> send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                        const QList<std::pair<QByteArray, QByteArray>>& headers)
    {
        for (;;) {
            QNetworkRequest request(url);
            request.setTransferTimeout(server.timeoutMs);
            request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
            request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
            request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
            request.setRawHeader("User-Agent", "Tabulon");
            for (const auto& [name, value] : headers)
                request.setRawHeader(name, value);
            if (!body.isEmpty() && !request.hasRawHeader("Content-Type"))
                request.setRawHeader("Content-Type", "application/xml; charset=utf-8");
            if (authUpFront)
                request.setRawHeader("Authorization",
                                     "Basic " + (server.user + u':' + server.password).toUtf8().toBase64());
            QNetworkReply* reply = network.sendCustomRequest(request, verb, body);
            QObject::connect(reply, &QNetworkReply::sslErrors, reply, [this, reply](const QList<QSslError>& errors) {
                acceptIfChosen(reply, errors);
            });
            QEventLoop loop;
            QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            if (!reply->isFinished())
                loop.exec(QEventLoop::ExcludeUserInputEvents);
            std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> owned(reply,
                                                                           [](QNetworkReply* r) { r->deleteLater(); });
            Answer answer;
            answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            lastStatus = answer.status;
            if (answer.status == 0)
                return connectionError(reply, url);
            answer.body = reply->readAll();
            answer.etag = reply->rawHeader("ETag");
            if (reply->hasRawHeader("Location"))
                answer.location = url.resolved(QUrl(QString::fromUtf8(reply->rawHeader("Location"))));
            if (answer.status == 401) {
                if (!authUpFront && !server.user.isEmpty()) {
                    authUpFront = true;
                    continue;
                }
                return syncError(QStringLiteral("le serveur refuse ce nom d'utilisateur ou ce mot de passe (401)."));
            }
            return answer;
        }
    }

    void acceptIfChosen(QNetworkReply* reply, const QList<QSslError>& errors)
    {
        const QSslCertificate peer = reply->sslConfiguration().peerCertificate();
        const QString fingerprint = peer.isNull() ? QString() : hexFingerprint(peer);
        // The one certificate the user accepted, for the server it was accepted for.
        const bool chosen = !fingerprint.isEmpty() && !server.acceptedCertificate.isEmpty()
                            && normalizedFingerprint(server.acceptedCertificate) == fingerprint
                            && reply->url().host().compare(server.url.host(), Qt::CaseInsensitive) == 0;
        if (chosen) {
            reply->ignoreSslErrors(errors);
            return;
        }
        untrusted = fingerprint;
    }

    Error connectionError(QNetworkReply* reply, const QUrl& url)
    {
        const QString host = url.host() + (url.port() > 0 ? u':' + QString::number(url.port()) : QString());
        switch (reply->error()) {
        case QNetworkReply::ConnectionRefusedError:
            return syncError(QStringLiteral("le serveur ") + host + QStringLiteral(" refuse la connexion (injoignable)."));
        case QNetworkReply::HostNotFoundError:
            return syncError(QStringLiteral("le serveur ") + host + QStringLiteral(" est introuvable (injoignable)."));
        case QNetworkReply::TimeoutError:
        case QNetworkReply::OperationCanceledError:
            return syncError(QStringLiteral("le serveur ") + host + QStringLiteral(" n'a pas répondu en ")
                             + (server.timeoutMs % 1000 == 0
                                    ? QString::number(server.timeoutMs / 1000) + QStringLiteral(" secondes.")
                                    : QString::number(server.timeoutMs) + QStringLiteral(" millisecondes.")));
        case QNetworkReply::RemoteHostClosedError:
            return syncError(QStringLiteral("le serveur ") + host + QStringLiteral(" a coupé la connexion."));
        case QNetworkReply::SslHandshakeFailedError:
            if (!untrusted.isEmpty())
                return syncError(QStringLiteral("le certificat du serveur ") + host
                                 + QStringLiteral(" n'est pas reconnu (empreinte SHA-256 : ") + untrusted
                                 + QStringLiteral(")."));
            return syncError(QStringLiteral("la connexion sécurisée au serveur ") + host
                             + QStringLiteral(" a échoué (") + reply->errorString() + QStringLiteral(")."));
        default:
            return syncError(QStringLiteral("le serveur ") + host + QStringLiteral(" est injoignable (")
                             + reply->errorString() + QStringLiteral(")."));
        }
    }

    // The reason of a status the request did not expect.
    static Error statusError(int status, const QByteArray& verb)
    {
        switch (status) {
        case 403:
            return syncError(QStringLiteral("le serveur refuse cette opération (403)."));
        case 404:
        case 410:
            return syncError(QStringLiteral("le carnet d'adresses n'existe plus sur le serveur (")
                             + QString::number(status) + QStringLiteral(")."));
        case 412:
            return syncError(QStringLiteral("le contact a changé sur le serveur entre-temps (412)."));
        case 507:
            return syncError(QStringLiteral("le serveur n'a plus de place (507)."));
        default:
            return syncError(QStringLiteral("le serveur a répondu ") + QString::number(status)
                             + QStringLiteral(" à la requête ") + QString::fromLatin1(verb) + u'.');
        }
    }

    Result<Multistatus> propfind(const QUrl& url, const QByteArray& depth, const QByteArray& props,
                                 int* statusOut = nullptr)
    {
        const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                "<d:propfind xmlns:d=\"DAV:\" xmlns:card=\"urn:ietf:params:xml:ns:carddav\"><d:prop>"
                                + props + "</d:prop></d:propfind>";
        return multistatus("PROPFIND", url, body, depth, statusOut);
    }

    Result<Multistatus> multistatus(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                                    const QByteArray& depth, int* statusOut = nullptr)
    {
        Result<Answer> answer = send(verb, url, body, {{"Depth", depth}});
        if (!answer)
            return answer.error();
        if (statusOut)
            *statusOut = answer->status;
        if (answer->status != 207)
            return statusError(answer->status, verb);
        std::optional<Multistatus> parsed = parseMultistatus(answer->body);
        if (!parsed)
            return syncError(QStringLiteral("la réponse du serveur à la requête ") + QString::fromLatin1(verb)
                             + QStringLiteral(" est illisible."));
        return std::move(*parsed);
    }
};

CardDavClient::CardDavClient(CardDavServer server) : d(std::make_unique<Private>())
{
    // https unless the user typed another scheme.
    if (server.url.scheme().isEmpty())
        server.url = QUrl(QStringLiteral("https://") + server.url.toString());
    d->server = std::move(server);
}

CardDavClient::~CardDavClient() = default;

QString CardDavClient::untrustedCertificate() const
{
    return d->untrusted;
}

int CardDavClient::lastStatus() const
{
    return d->lastStatus;
}

Result<std::vector<AddressBookInfo>> CardDavClient::discover()
{
    const QUrl start = d->server.url;
    const QByteArray props = "<d:resourcetype/><d:displayname/><d:current-user-principal/><card:addressbook-home-set/>";
    const auto bookOf = [](const QUrl& base, const DavResponse& r) {
        QUrl url = base;
        url.setPath(hrefPath(r.href), QUrl::DecodedMode);
        QString name = r.displayName;
        if (name.isEmpty()) {
            const QStringList parts = url.path().split(u'/', Qt::SkipEmptyParts);
            name = parts.isEmpty() ? url.host() : parts.last();
        }
        return AddressBookInfo{url, name};
    };
    Result<Multistatus> here = d->propfind(start, "0", props);
    if (!here && (d->lastStatus == 0 || d->lastStatus == 401))
        return here.error();  // unreachable, TLS, 401: no use trying further
    QString principal, home;
    if (here) {
        for (const DavResponse& r : here->responses) {
            if (r.addressBook)
                return std::vector<AddressBookInfo>{bookOf(start, r)};
            if (!r.principal.isEmpty())
                principal = r.principal;
            if (!r.homeSet.isEmpty())
                home = r.homeSet;
        }
    }
    // RFC 6764: the well-known address leads to the context path, followed
    // through its redirections.
    if (principal.isEmpty() && home.isEmpty()) {
        QUrl wellKnown = start;
        wellKnown.setPath(QStringLiteral("/.well-known/carddav"));
        for (int hop = 0; hop < 5; ++hop) {
            int status = 0;
            Result<Multistatus> found = d->propfind(wellKnown, "0", props, &status);
            if (found) {
                for (const DavResponse& r : found->responses)
                    if (!r.principal.isEmpty())
                        principal = r.principal;
                break;
            }
            Result<Private::Answer> moved = d->send("PROPFIND", wellKnown, {}, {{"Depth", "0"}});
            if (!moved || moved->status < 300 || moved->status >= 400 || moved->location.isEmpty())
                break;
            wellKnown = moved->location;
        }
    }
    if (home.isEmpty() && !principal.isEmpty()) {
        Result<Multistatus> p = d->propfind(d->resolved(start, principal), "0", "<card:addressbook-home-set/>");
        if (!p)
            return p.error();
        for (const DavResponse& r : p->responses)
            if (!r.homeSet.isEmpty())
                home = r.homeSet;
    }
    const QUrl homeUrl = home.isEmpty() ? start : d->resolved(start, home);
    Result<Multistatus> listing = d->propfind(homeUrl, "1", "<d:resourcetype/><d:displayname/>");
    if (!listing)
        return listing.error();
    std::vector<AddressBookInfo> books;
    for (const DavResponse& r : listing->responses)
        if (r.addressBook)
            books.push_back(bookOf(homeUrl, r));
    if (books.empty())
        return syncError(QStringLiteral("aucun carnet d'adresses trouvé à l'adresse ") + start.toDisplayString()
                         + u'.');
    return books;
}

Result<RemoteChanges> CardDavClient::changesSince(const QUrl& addressBook, const QString& token)
{
    const QString bookPath = hrefPath(addressBook.toString());
    const auto members = [&](const Multistatus& m, RemoteChanges& out) {
        for (const DavResponse& r : m.responses) {
            const QString path = hrefPath(r.href);
            if (path == bookPath || path + u'/' == bookPath || r.collection)
                continue;
            if (r.status == 404 || r.status == 410)
                out.removed.push_back(path);
            else if (!r.etag.isEmpty())
                out.changed.push_back({path, r.etag, {}});
        }
    };
    const auto report = [&](const QString& from) -> Result<Multistatus> {
        if (!d->server.syncCollection) {
            d->lastStatus = 501;
            return Private::statusError(501, "REPORT");
        }
        const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:sync-collection xmlns:d=\"DAV:\">"
                                "<d:sync-token>"
                                + escaped(from)
                                + "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
                                  "</d:sync-collection>";
        return d->multistatus("REPORT", addressBook, body, "0");
    };
    Result<Multistatus> changes = report(token);
    // A token the server no longer knows (RFC 6578 valid-sync-token): everything again.
    if (!changes && !token.isEmpty() && (d->lastStatus == 403 || d->lastStatus == 409 || d->lastStatus == 400)) {
        changes = report(QString());
        if (changes) {
            RemoteChanges out;
            members(*changes, out);
            out.removed.clear();
            out.full = true;
            out.syncToken = changes->syncToken;
            return out;
        }
    }
    if (changes && !changes->syncToken.isEmpty()) {
        RemoteChanges out;
        members(*changes, out);
        out.syncToken = changes->syncToken;
        out.full = token.isEmpty();
        return out;
    }
    if (!changes && (d->lastStatus == 0 || d->lastStatus == 401 || d->lastStatus == 404 || d->lastStatus == 507))
        return changes.error();
    // No sync-collection there: every member's ETag.
    Result<Multistatus> listing = d->propfind(addressBook, "1", "<d:getetag/><d:resourcetype/>");
    if (!listing)
        return listing.error();
    RemoteChanges out;
    members(*listing, out);
    out.full = true;
    return out;
}

Result<std::vector<RemoteContact>> CardDavClient::fetch(const QUrl& addressBook, const std::vector<QString>& hrefs)
{
    std::vector<RemoteContact> out;
    out.reserve(hrefs.size());
    for (size_t at = 0; at < hrefs.size(); at += kFetchBatch) {
        QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><card:addressbook-multiget xmlns:d=\"DAV:\" "
                          "xmlns:card=\"urn:ietf:params:xml:ns:carddav\"><d:prop><d:getetag/><card:address-data/>"
                          "</d:prop>";
        for (size_t k = at; k < std::min(hrefs.size(), at + kFetchBatch); ++k)
            body += "<d:href>" + escaped(d->resolved(addressBook, hrefs[k]).path(QUrl::FullyEncoded)) + "</d:href>";
        body += "</card:addressbook-multiget>";
        Result<Multistatus> got = d->multistatus("REPORT", addressBook, body, "1");
        if (!got)
            return got.error();
        for (DavResponse& r : got->responses)
            if (r.status == 0 && !r.addressData.isEmpty())
                out.push_back({hrefPath(r.href), r.etag, std::move(r.addressData)});
    }
    return out;
}

Result<QString> CardDavClient::put(const QUrl& addressBook, const QString& href, const QByteArray& vcard,
                                   const QString& etag)
{
    QList<std::pair<QByteArray, QByteArray>> headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    if (etag.isEmpty())
        headers.push_back({"If-None-Match", "*"});
    else
        headers.push_back({"If-Match", etag.toUtf8()});
    Result<Private::Answer> answer = d->send("PUT", d->resolved(addressBook, href), vcard, headers);
    if (!answer)
        return answer.error();
    if (answer->status < 200 || answer->status >= 300)
        return Private::statusError(answer->status, "PUT");
    return QString::fromUtf8(answer->etag);
}

Status CardDavClient::remove(const QUrl& addressBook, const QString& href, const QString& etag)
{
    QList<std::pair<QByteArray, QByteArray>> headers;
    if (!etag.isEmpty())
        headers.push_back({"If-Match", etag.toUtf8()});
    Result<Private::Answer> answer = d->send("DELETE", d->resolved(addressBook, href), {}, headers);
    if (!answer)
        return answer.error();
    // Already gone is what was asked.
    if ((answer->status >= 200 && answer->status < 300) || answer->status == 404 || answer->status == 410)
        return {};
    return Private::statusError(answer->status, "DELETE");
}

}  // namespace tb
