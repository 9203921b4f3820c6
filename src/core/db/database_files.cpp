#include "core/db/database_files.h"

#include "core/cards/side_files.h"

#include <QFile>
#include <QFileInfo>

namespace tb {

const QStringList& databaseTemplateFiles()
{
    static const QStringList files = [] {
        QStringList f;
        for (const SideFile kind : kTemplatedSideFiles)
            f << sideFileTemplate(kind);
        return f + QStringList{QStringLiteral("StrFic.txt"), QStringLiteral("Tabulon.mdb"), QStringLiteral("carte.txt"),
                               QStringLiteral("NBFiches.dat")};
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
    return QFileInfo(folder + QStringLiteral("NBFiches.dat")).isFile()
           && QFileInfo(folder + QStringLiteral("carte.txt")).isFile();
}

}  // namespace tb
