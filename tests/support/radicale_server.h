#pragma once
// A Radicale CardDAV server of the test's own: 127.0.0.1, a free port, a temporary storage folder, plain passwords, no
// fsync; with TLS on a self-signed certificate when asked. Stopped at the end of the test.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

class QNetworkAccessManager;

namespace testing_support {

class RadicaleServer {
public:
    explicit RadicaleServer(bool tls = false);
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    static bool installed();
    // Starts it and waits until it answers; false with error() on failure.
    bool start();
    void stop();
    bool running() const;
    QString error() const { return m_error; }

    // Adds (or replaces) a user; the server reads the file at each login.
    void addUser(const QString& user, const QString& password);
    // "http://127.0.0.1:port/" (https with TLS).
    QUrl url() const;
    // A new, empty address book of user (added when new, as addUser does,
    // then an extended MKCOL), its URL ending with "/"; empty on failure.
    QUrl createAddressBook(const QString& user, const QString& password,
                           const QString& name = QStringLiteral("contacts"));
    // The SHA-256 (lower-case hex) of the server's certificate; empty without TLS.
    QString certificateSha256() const;
    QString storageFolder() const;

private:
    bool makeCertificate();

    bool m_tls;
    QTemporaryDir m_dir;
    quint16 m_port = 0;
    std::unique_ptr<QProcess> m_process;
    QString m_error;
    QList<QPair<QString, QString>> m_users;
};

// Plain HTTP requests, one at a time, waiting for their answers: a test acting as a phone on the address book. Accepts
// the certificate whose SHA-256 is given, and only that one.
class RawHttp {
public:
    struct Reply {
        int status = 0;          // 0: no answer (see error)
        QByteArray body;
        QByteArray etag;
        QString error;
    };
    RawHttp(const QString& user, const QString& password, const QString& acceptedCertificate = QString());
    ~RawHttp();

    Reply request(const QByteArray& verb, const QUrl& url, const QByteArray& body = QByteArray(),
                  const QList<QPair<QByteArray, QByteArray>>& headers = {});
    // ifMatch empty: no condition.
    Reply put(const QUrl& url, const QByteArray& vcard, const QByteArray& ifMatch = QByteArray());
    Reply get(const QUrl& url);

private:
    QString m_user;
    QString m_password;
    QString m_certificate;
    std::unique_ptr<QNetworkAccessManager> m_network;
};

}  // namespace testing_support

// In a test: a started server named server, or the test skipped when Radicale is not installed.
#define TB_START_RADICALE(server, ...)                                    \
    if (!testing_support::RadicaleServer::installed())                    \
        GTEST_SKIP() << "radicale n'est pas installé";                    \
    testing_support::RadicaleServer server{__VA_ARGS__};                  \
    ASSERT_TRUE(server.start()) << server.error().toStdString()
