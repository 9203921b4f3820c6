#include "app/program_folder.h"

#include "base/paths.h"
#include "base/safe_write.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tb {

namespace {
void fillFrom(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir src(from);
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files)) {
        const QString target = to + fi.fileName();
        if (!QFileInfo::exists(target))
            copyFileReplacing(fi.absoluteFilePath(), target);
    }
}
}  // namespace

QString resolveProgramFolder(const QString& explicitFolder, const QString& executableFolder)
{
    if (!explicitFolder.isEmpty()) {
        QDir().mkpath(explicitFolder);
        return folderText(explicitFolder);
    }
    const QString exe = folderText(executableFolder);
    const QFileInfo exeInfo(exe);
    if (QFileInfo::exists(exe + "frc.gif") && exeInfo.isWritable())
        return exe;
    const QString user = folderText(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // Installed copies keep their data beside the executable or in share/tabulon.
    QString installed = exe;
    if (!QFileInfo::exists(installed + "frc.gif"))
        installed = folderText(exe + "../share/tabulon");
    fillFrom(installed, user);
    return user;
}

void makeProgramFolderCurrent(const QString& programFolder)
{
    QDir::setCurrent(programFolder);
}

}  // namespace tb
