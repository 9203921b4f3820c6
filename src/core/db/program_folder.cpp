#include "core/db/program_folder.h"

#include "core/base/paths.h"
#include "core/base/safe_write.h"

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
    const QString exe = folderText(executableFolder);
    // Installed copies keep their data beside the executable or in share/tabulon.
    const QString installed = QFileInfo::exists(exe + "frc.gif") ? exe : folderText(exe + "../share/tabulon");
    QString folder;
    if (!explicitFolder.isEmpty())
        folder = folderText(explicitFolder);
    else if (installed == exe && QFileInfo(exe).isWritable())
        return exe;
    else
        folder = folderText(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // A new program folder gets the map, templates and directory; what is
    // already there (the user's own templates) is kept.
    fillFrom(installed, folder);
    return folder;
}

void makeProgramFolderCurrent(const QString& programFolder)
{
    QDir::setCurrent(programFolder);
}

}  // namespace tb
