#include "core/external/launcher.h"

#include "core/base/folder_index.h"
#include "core/base/value_files.h"
#include "core/external/external_programs.h"

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
    return launcher.startProgram(programToStart(program), {document});
}

QString programToStart(const QString& program)
{
    if (program.isEmpty() || QFileInfo::exists(program))
        return program;
    // A program chosen as "NOTEPAD.EXE" was stored as "NOTEPAD".
    const QFileInfo info(program + QStringLiteral(".exe"));
    const QString withExe = fileAnyCase(info.path() + u'/', info.fileName());
    return QFileInfo::exists(withExe) ? withExe : program;
}

bool startHelp(Launcher& launcher, const QString& programFolder, const QString& page)
{
    return launcher.startProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/tbaide"),
                                 page.isEmpty() ? QStringList() : QStringList{page}, programFolder);
}

}  // namespace tb
