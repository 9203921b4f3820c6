#include "core/db/program_folder.h"

#include "core/base/numeric.h"
#include "core/base/paths.h"
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/db/data_files.h"
#include "core/db/count_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tb {

const QStringList& dataFileNames()
{
    static const QStringList names = QString::fromUtf8(kDataFiles).split(u';', Qt::SkipEmptyParts);
    return names;
}

namespace {
void fillFrom(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : dataFileNames()) {
        const QFileInfo source(from + name);
        if (!source.isFile() || QFileInfo::exists(to + name))
            continue;
        QDir().mkpath(QFileInfo(to + name).absolutePath());
        (void)copyFileReplacing(source.absoluteFilePath(), to + name);
    }
}
}  // namespace

bool isProgramFolder(const QString& folder)
{
    return isProgramFolderPath(QFile::encodeName(folderText(folder)).toStdString());
}

Status refuseProgramFolder(const QString& folder)
{
    if (isProgramFolder(folder))
        return Error{kNoErrorNumber, QStringLiteral(" Ce dossier est le dossier du programme, pas une base de données.")};
    return {};
}

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
    // What is already there (the user's own templates) is kept.
    fillFrom(installed, folder);
    return folder;
}

int currentDepartment(const QString& programFolder)
{
    return int(numericInteger(readFirstValue(programFolder + QStringLiteral("DeptCourant.txt"))));
}

Status setCurrentDepartment(const QString& programFolder, int index)
{
    return writeQuotedLines(programFolder + QStringLiteral("DeptCourant.txt"), {QString::number(index)});
}

}  // namespace tb
