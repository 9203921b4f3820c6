#include "radicale_server.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <csignal>
#include <sys/prctl.h>

namespace testing_support {

namespace {

// The Python that runs the installed radicale command (its first line).
QString radicalePython()
{
    const QString radicale = QStandardPaths::findExecutable(QStringLiteral("radicale"));
    QFile f(radicale);
    if (radicale.isEmpty() || !f.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray first = f.readLine().trimmed();
    return first.startsWith("#!") ? QString::fromLocal8Bit(first.mid(2).trimmed()) : QString();
}

// Radicale's fsync switch is internal: a configuration file may not set it,
// so the server is started from its own modules with the switch set.
const char* const kLauncher = R"(import signal, socket, sys
from radicale import config, log, server
configuration = config.load([(sys.argv[1], False)])
configuration.update({"storage": {"_filesystem_fsync": "False"}}, "tests", privileged=True)
log.setup()
log.set_level(configuration.get("logging", "level"))
stop, stop_out = socket.socketpair()
signal.signal(signal.SIGTERM, lambda *_: stop.close())
server.serve(configuration, stop_out)
)";

QByteArray basicAuthorization(const QString& user, const QString& password)
{
    return "Basic " + (user + u':' + password).toUtf8().toBase64();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

}  // namespace

RadicaleServer::RadicaleServer(bool tls) : m_tls(tls) { addUser(QStringLiteral("alice"), QStringLiteral("secret")); }

RadicaleServer::~RadicaleServer() { stop(); }

bool RadicaleServer::installed()
{
    const QString python = radicalePython();
    return !python.isEmpty() && QFileInfo(python).isExecutable();
}

bool RadicaleServer::running() const { return m_process && m_process->state() == QProcess::Running; }

QString RadicaleServer::storageFolder() const { return m_dir.filePath(QStringLiteral("collections")); }

QUrl RadicaleServer::url() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/").arg(m_tls ? "https" : "http").arg(m_port));
}

void RadicaleServer::addUser(const QString& user, const QString& password)
{
    bool known = false;
    for (auto& u : m_users)
        if (u.first == user) {
            u.second = password;
            known = true;
        }
    if (!known)
        m_users.append({user, password});
    QByteArray lines;
    for (const auto& u : m_users)
        lines += (u.first + u':' + u.second + u'\n').toUtf8();
    writeFile(m_dir.filePath(QStringLiteral("users")), lines);
}

bool RadicaleServer::makeCertificate()
{
    if (QFile::exists(m_dir.filePath(QStringLiteral("cert.pem"))))
        return true;
    QProcess openssl;
    openssl.setWorkingDirectory(m_dir.path());
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                   "-keyout", "key.pem", "-out", "cert.pem", "-days", "2", "-subj", "/CN=127.0.0.1",
                   "-addext", "subjectAltName=IP:127.0.0.1"});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        m_error = QStringLiteral("openssl: ") + QString::fromLocal8Bit(openssl.readAllStandardError());
        return false;
    }
    return true;
}

QString RadicaleServer::certificateSha256() const
{
    if (!m_tls)
        return QString();
    const auto certs = QSslCertificate::fromPath(m_dir.filePath(QStringLiteral("cert.pem")));
    return certs.isEmpty() ? QString() : QString::fromLatin1(certs.first().digest(QCryptographicHash::Sha256).toHex());
}

bool RadicaleServer::start()
{
    if (running())
        return true;
    m_error.clear();
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    if (m_tls && !makeCertificate())
        return false;
    if (m_port == 0) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            m_error = QStringLiteral("no free port");
            return false;
        }
        m_port = probe.serverPort();
    }
    const QString config = QStringLiteral(
        "[server]\nhosts = 127.0.0.1:%1\nssl = %2\ncertificate = %3\nkey = %4\n"
        "[auth]\ntype = htpasswd\nhtpasswd_filename = %5\nhtpasswd_encryption = plain\ndelay = 0\n"
        "[rights]\ntype = owner_only\n"
        "[storage]\nfilesystem_folder = %6\n"
        "[web]\ntype = none\n"
        "[logging]\nlevel = warning\n")
        .arg(m_port).arg(m_tls ? "True" : "False")
        .arg(m_dir.filePath(QStringLiteral("cert.pem")), m_dir.filePath(QStringLiteral("key.pem")),
             m_dir.filePath(QStringLiteral("users")), storageFolder());
    const QString configFile = m_dir.filePath(QStringLiteral("config"));
    const QString launcher = m_dir.filePath(QStringLiteral("serve.py"));
    if (!writeFile(configFile, config.toUtf8()) || !writeFile(launcher, kLauncher)) {
        m_error = QStringLiteral("cannot write the configuration");
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardOutputFile(m_dir.filePath(QStringLiteral("radicale.log")), QIODevice::Append);
    // Gone with the test program even when it crashes.
    m_process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process->start(radicalePython(), {launcher, configFile});
    if (!m_process->waitForStarted(10000)) {
        m_error = QStringLiteral("radicale did not start: ") + m_process->errorString();
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (m_process->state() != QProcess::Running) {
            QFile log(m_dir.filePath(QStringLiteral("radicale.log")));
            log.open(QIODevice::ReadOnly);
            m_error = QStringLiteral("radicale stopped: ") + QString::fromLocal8Bit(log.readAll());
            return false;
        }
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(200))
            return true;
        m_process->waitForFinished(20);
    }
    m_error = QStringLiteral("radicale does not answer on port %1").arg(m_port);
    stop();
    return false;
}

void RadicaleServer::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        // Radicale waits for its open connections on SIGTERM: while this
        // process holds one, in the middle of a sync, only SIGKILL stops it.
        m_process->terminate();
        if (!m_process->waitForFinished(1000)) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    m_process.reset();
}

QUrl RadicaleServer::createAddressBook(const QString& user, const QString& password, const QString& name)
{
    addUser(user, password);
    const QUrl book = url().resolved(QUrl(user + u'/' + name + u'/'));
    // RFC 5689's extended MKCOL, which Radicale documents for new collections.
    const QByteArray body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<D:mkcol xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">\n"
        " <D:set><D:prop>\n"
        "  <D:resourcetype><D:collection/><C:addressbook/></D:resourcetype>\n"
        "  <D:displayname>" + name.toUtf8() + "</D:displayname>\n"
        " </D:prop></D:set>\n"
        "</D:mkcol>\n";
    RawHttp http(user, password, certificateSha256());
    const auto reply = http.request("MKCOL", book, body, {{"Content-Type", "application/xml; charset=utf-8"}});
    if (reply.status != 201) {
        m_error = QStringLiteral("MKCOL %1: %2 %3").arg(book.toString()).arg(reply.status).arg(reply.error);
        return QUrl();
    }
    return book;
}

RawHttp::RawHttp(const QString& user, const QString& password, const QString& acceptedCertificate)
    : m_user(user), m_password(password), m_certificate(acceptedCertificate.toLower()),
      m_network(std::make_unique<QNetworkAccessManager>())
{
}

RawHttp::~RawHttp() = default;

RawHttp::Reply RawHttp::request(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                                const QList<QPair<QByteArray, QByteArray>>& headers)
{
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", basicAuthorization(m_user, m_password));
    for (const auto& h : headers)
        request.setRawHeader(h.first, h.second);
    QNetworkReply* reply = m_network->sendCustomRequest(request, verb, body);
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [this, reply](const QList<QSslError>&) {
        const QByteArray sha = reply->sslConfiguration().peerCertificate().digest(QCryptographicHash::Sha256).toHex();
        if (!m_certificate.isEmpty() && sha == m_certificate.toLatin1())
            reply->ignoreSslErrors();
    });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, [reply] { reply->abort(); });
    if (!reply->isFinished())
        loop.exec();
    Reply out;
    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.body = reply->readAll();
    out.etag = reply->rawHeader("ETag");
    if (reply->error() != QNetworkReply::NoError)
        out.error = reply->errorString();
    reply->deleteLater();
    return out;
}

RawHttp::Reply RawHttp::put(const QUrl& url, const QByteArray& vcard, const QByteArray& ifMatch)
{
    QList<QPair<QByteArray, QByteArray>> headers{{"Content-Type", "text/vcard; charset=utf-8"}};
    if (!ifMatch.isEmpty())
        headers.append({"If-Match", ifMatch});
    return request("PUT", url, vcard, headers);
}

RawHttp::Reply RawHttp::get(const QUrl& url) { return request("GET", url); }

}  // namespace testing_support
