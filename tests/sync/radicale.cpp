#include "radicale.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace testing_support {

RadicaleServer::RadicaleServer(bool tls) : m_tls(tls)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    m_port = probe.serverPort();
    probe.close();
    const QString dir = m_dir.path() + u'/';
    QFile users(dir + QStringLiteral("users"));
    users.open(QIODevice::WriteOnly);
    users.write((user() + u':' + password() + u'\n').toUtf8());
    users.close();
    QByteArray config = "[server]\nhosts = 127.0.0.1:" + QByteArray::number(m_port) + "\n";
    if (m_tls) {
        QProcess::execute(QStringLiteral("openssl"),
                          {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                           "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", dir + "key.pem", "-out",
                           dir + "cert.pem"});
        config += "ssl = True\ncertificate = " + (dir + "cert.pem").toUtf8() + "\nkey = " + (dir + "key.pem").toUtf8()
                  + "\n";
    }
    config += "[auth]\ntype = htpasswd\nhtpasswd_filename = " + (dir + "users").toUtf8()
              + "\nhtpasswd_encryption = plain\n[rights]\ntype = owner_only\n[storage]\nfilesystem_folder = "
              + (dir + "store").toUtf8() + "\n[logging]\nlevel = warning\n";
    QFile file(dir + QStringLiteral("config"));
    file.open(QIODevice::WriteOnly);
    file.write(config);
}

RadicaleServer::~RadicaleServer()
{
    stop();
}

bool RadicaleServer::start()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The server's syncs only slow the tests down.
#ifdef TABULON_NO_SYNC
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TABULON_NO_SYNC));
#endif
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("radicale"), {"--config", m_dir.path() + "/config"});
    if (!m_process.waitForStarted())
        return false;
    for (int i = 0; i < 200; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (socket.waitForConnected(100))
            break;
        QThread::msleep(50);
    }
    if (!m_bookMade) {
        const QByteArray mkcol = "<?xml version=\"1.0\"?><d:mkcol xmlns:d=\"DAV:\" "
                                 "xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:set><d:prop><d:resourcetype>"
                                 "<d:collection/><c:addressbook/></d:resourcetype><d:displayname>Clients"
                                 "</d:displayname></d:prop></d:set></d:mkcol>";
        m_bookMade = httpRequest("MKCOL", book(), user(), password(), mkcol).status == 201;
        return m_bookMade;
    }
    return true;
}

void RadicaleServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}

QUrl RadicaleServer::root() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/").arg(m_tls ? "https" : "http").arg(m_port));
}

QUrl RadicaleServer::book() const
{
    return root().resolved(QUrl(user() + QStringLiteral("/clients/")));
}

QString RadicaleServer::certificateSha256() const
{
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(m_dir.path() + "/cert.pem");
    return certs.isEmpty() ? QString() : QString::fromLatin1(certs[0].digest(QCryptographicHash::Sha256).toHex());
}

HttpAnswer httpRequest(const QByteArray& verb, const QUrl& url, const QString& user, const QString& password,
                       const QByteArray& body, const QList<std::pair<QByteArray, QByteArray>>& headers)
{
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Basic " + (user + u':' + password).toUtf8().toBase64());
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = network.sendCustomRequest(request, verb, body);
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [reply] { reply->ignoreSslErrors(); });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    HttpAnswer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                      reply->rawHeader("ETag")};
    reply->deleteLater();
    return answer;
}

QStringList vCardHrefs(const RadicaleServer& server)
{
    const HttpAnswer listing = httpRequest("PROPFIND", server.book(), server.user(), server.password(),
                                           "<?xml version=\"1.0\"?><d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/>"
                                           "</d:prop></d:propfind>",
                                           {{"Depth", "1"}});
    QStringList hrefs;
    static const QRegularExpression href(QStringLiteral("<[^>]*href>([^<]*\\.vcf)</"));
    for (auto m = href.globalMatch(QString::fromUtf8(listing.body)); m.hasNext();)
        hrefs << m.next().captured(1);
    return hrefs;
}

}  // namespace testing_support
