#include "core/db/database_files.h"

#include "core/cards/side_files.h"
#include "core/db/count_file.h"

#include <QFile>
#include <QFileInfo>

namespace tb {

const QStringList& databaseTemplateFiles()
{
    static const QStringList files = [] {
        QStringList f;
        for (const SideFile kind : kTemplatedSideFiles)
            f << sideFileTemplate(kind);
        return f + QStringList{QStringLiteral("StrFic.txt"), QStringLiteral("Tabulon.mdb"), QLatin1String(kMapFileName),
                               QLatin1String(kCountFileName)};
    }();
    return files;
}

bool isSafeDatabaseName(const QString& name)
{
    if (name.trimmed().isEmpty())
        return false;
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(QStringLiteral("..")))
        return false;
    // The longest name a folder can have.
    if (QFile::encodeName(name).size() > 255)
        return false;
    for (QChar c : name)
        if (c.category() == QChar::Other_Control)
            return false;
    return true;
}

bool isDatabaseFolder(const QString& folder)
{
    return isDatabaseFolderPath(QFile::encodeName(folder).toStdString());
}

}  // namespace tb
