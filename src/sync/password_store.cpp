#include "sync/password_store.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace tb {

namespace {

bool g_keyringMissing = false;

QString keyOf(const QString& server, const QString& user)
{
    return user + u'@' + server;
}

// Waits for job in a local loop; the error, if any, as the user reads it.
Status run(QKeychain::Job& job)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    switch (job.error()) {
    case QKeychain::NoError:
        return {};
    case QKeychain::EntryNotFound:
        return Error{kNoErrorNumber, QStringLiteral("Aucun mot de passe n'est gardé pour ce serveur.")};
    case QKeychain::AccessDenied:
        return Error{kNoErrorNumber, QStringLiteral("Le trousseau de mots de passe a refusé l'accès au mot de passe.")};
    default:
        // No secret service, no session bus, a locked backend: for the user all
        // the same, the password is asked instead of kept.
        g_keyringMissing = true;
        return Error{kNoErrorNumber, keyringMissingText()};
    }
}

const QString kService = QStringLiteral("Tabulon CardDAV");

}  // namespace

Result<QString> readSyncPassword(const QString& server, const QString& user)
{
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(keyOf(server, user));
    if (Status s = run(job); !s)
        return s.error();
    return job.textData();
}

Status keepSyncPassword(const QString& server, const QString& user, const QString& password)
{
    QKeychain::WritePasswordJob job(kService);
    job.setKey(keyOf(server, user));
    job.setTextData(password);
    return run(job);
}

QString keyringMissingText()
{
    return QStringLiteral("Ce bureau n'a pas de trousseau de mots de passe : le mot de passe n'est gardé qu'en "
                          "mémoire, jusqu'à la fermeture de Tabulon. Il sera demandé à la première synchronisation, "
                          "puis de nouveau seulement si le serveur le refuse.");
}

bool keyringMissing()
{
    return g_keyringMissing;
}

}  // namespace tb
