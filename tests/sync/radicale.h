#pragma once
// A Radicale server of its own for a test: 127.0.0.1, a free port, a
// temporary storage folder, one user with a plain password, fsync off, and
// an address book made; with TLS, a certificate made by openssl.
#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <utility>

namespace testing_support {

class RadicaleServer {
public:
    explicit RadicaleServer(bool tls = false);
    ~RadicaleServer();
    bool start();  // again after stop(): same port, same storage
    void stop();
    bool running() const { return m_process.state() == QProcess::Running; }

    QUrl root() const;
    QUrl book() const;  // the address book made at the first start
    QString user() const { return QStringLiteral("marie"); }
    QString password() const { return QStringLiteral("secret"); }
    QString certificateSha256() const;  // hex, empty without TLS

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    bool m_tls;
    int m_port = 0;
    bool m_bookMade = false;
};

// Plain HTTP requests as a phone makes them (Basic auth, no TLS checks).
struct HttpAnswer {
    int status = 0;
    QByteArray body;
    QByteArray etag;
};
HttpAnswer httpRequest(const QByteArray& verb, const QUrl& url, const QString& user, const QString& password,
                       const QByteArray& body = {}, const QList<std::pair<QByteArray, QByteArray>>& headers = {});
// The hrefs of the vCards of the address book.
QStringList vCardHrefs(const RadicaleServer& server);

}  // namespace testing_support
