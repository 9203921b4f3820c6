#include "gui/sync/certificate_question.h"

#include "gui/app/dialogs.h"

#include <QStringList>

bool acceptCertificate(Dialogs& dialogs, const QString& server, const QString& fingerprint)
{
    // In pairs, as certificate viewers show it, so the user can compare.
    QStringList pairs;
    for (qsizetype i = 0; i < fingerprint.size(); i += 2)
        pairs << fingerprint.mid(i, 2).toUpper();
    const QString text = QStringLiteral("Le certificat du serveur ") + server
                         + QStringLiteral(" n'est pas reconnu.\nEmpreinte SHA-256 :\n") + pairs.join(u':')
                         + QStringLiteral("\n\nN'acceptez ce certificat que si cette empreinte est bien celle de votre "
                                          "serveur. L'accepter pour ce serveur ?");
    return dialogs.question(text, QStringLiteral("Certificat non reconnu"), QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No, QMessageBox::Warning)
           == QMessageBox::Yes;
}
