#include "core/external/launcher.h"

#include "core/base/value_files.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
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

QString storedProgram(const QString& programFolder, const QString& pathFile)
{
    return readPathValue(programFolder + pathFile);
}

bool openWith(Launcher& launcher, const QString& program, const QString& document)
{
    if (program.isEmpty())
        return launcher.openDocument(document);
    const QString withExe = program + QStringLiteral(".exe");
    const bool onlyExe = !QFileInfo::exists(program) && QFileInfo::exists(withExe);
    return launcher.startProgram(onlyExe ? withExe : program, {document});
}

bool startHelp(Launcher& launcher, const QString& programFolder, const QString& page)
{
    return launcher.startProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/tbaide"),
                                 page.isEmpty() ? QStringList() : QStringList{page}, programFolder);
}

}  // namespace tb
