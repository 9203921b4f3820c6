#include "gui/app/reporting_launcher.h"

#include "gui/app/dialogs.h"

#include <QDir>

bool ReportingLauncher::reported(bool started, const QString& text)
{
    if (!started)
        m_dialogs.message(text);
    return started;
}

bool ReportingLauncher::startProgram(const QString& program, const QStringList& args, const QString& workingFolder)
{
    return reported(m_launcher.startProgram(program, args, workingFolder),
                    QStringLiteral(" Le programme « ") + QDir::toNativeSeparators(program)
                        + QStringLiteral(" » n'a pas pu être lancé : vérifiez son chemin dans « Logiciels externes »."));
}

bool ReportingLauncher::openDocument(const QString& path)
{
    return reported(m_launcher.openDocument(path),
                    QStringLiteral(" Aucun programme n'a pu ouvrir « ") + QDir::toNativeSeparators(path)
                        + QStringLiteral(" » : choisissez-en un dans « Logiciels externes »."));
}

bool ReportingLauncher::openUrl(const QUrl& url)
{
    return reported(m_launcher.openUrl(url), QStringLiteral(" Aucun programme n'a pu ouvrir « ")
                                                 + url.toDisplayString() + QStringLiteral(" »."));
}
