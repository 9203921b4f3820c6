#pragma once
// The CardDAV requests Tabulon makes (RFC 6352 address books, RFC 6578
// sync-collection, RFC 6764 discovery), over one connection, each call
// waiting for its answer in a local event loop so that a window keeps
// painting. Every failure is an Error whose message names the server's answer.
#include "core/base/error.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <memory>
#include <vector>

namespace tb {

struct CardDavServer {
    QUrl url;                      // an address book, or a server or account to find one from
    QString user;
    QString password;
    QString acceptedCertificate;   // SHA-256 (hex) the user accepted for this server
    // Beyond this without a byte either way, the server is taken as gone.
    int timeoutMs = 30000;
    // false: the client acts as with a server that refuses RFC 6578's REPORT
    // (501) and lists every ETag instead; Radicale has it, the tests need both.
    bool syncCollection = true;
};

struct AddressBookInfo {
    QUrl url;
    QString name;  // its display name, or the last part of its path
};

struct RemoteContact {
    QString href;
    QString etag;
    QByteArray vcard;  // empty in a listing of ETags
};

struct RemoteChanges {
    std::vector<RemoteContact> changed;  // added or changed there
    std::vector<QString> removed;        // hrefs
    QString syncToken;                   // for the next time
    bool full = false;                   // a full listing: what is not in changed is gone there
};

class CardDavClient {
public:
    explicit CardDavClient(CardDavServer server);
    ~CardDavClient();

    // The address books found from the server's URL: the URL itself when it
    // is one, else through /.well-known/carddav, current-user-principal and
    // addressbook-home-set.
    Result<std::vector<AddressBookInfo>> discover();
    // What changed in the address book since token (empty: everything),
    // by sync-collection, or by a listing of ETags where the server lacks it.
    Result<RemoteChanges> changesSince(const QUrl& addressBook, const QString& token);
    // The vCards at hrefs (addressbook-multiget, in batches).
    Result<std::vector<RemoteContact>> fetch(const QUrl& addressBook, const std::vector<QString>& hrefs);
    // PUT: a new contact (etag empty: If-None-Match: *) or a change
    // (If-Match: etag). Gives the new ETag (empty when the server gave none).
    Result<QString> put(const QUrl& addressBook, const QString& href, const QByteArray& vcard, const QString& etag);
    // DELETE with If-Match: etag (none when empty).
    Status remove(const QUrl& addressBook, const QString& href, const QString& etag);

    // The SHA-256 (hex) of the certificate that the last request refused as
    // not trusted, for the user to accept; empty when none.
    QString untrustedCertificate() const;
    // The HTTP status of the last answer (412 tells "changed meanwhile").
    int lastStatus() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

}  // namespace tb
