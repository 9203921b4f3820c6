#include "core/external/launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>

namespace tb {

bool SystemLauncher::startProgram(const QString& program, const QStringList& args, const QString& workingFolder)
{
    return QProcess::startDetached(program, args, workingFolder);
}

bool SystemLauncher::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool SystemLauncher::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool startHelp(Launcher& launcher, const QString& programFolder, const QString& page)
{
    return launcher.startProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/tbaide"),
                                 page.isEmpty() ? QStringList() : QStringList{page}, programFolder);
}

}  // namespace tb
