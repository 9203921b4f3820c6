#include "core/external/start_folders.h"

#include "core/db/recent_databases.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tb {
namespace {

QString existingOrHome(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

QString settingKey(ChooserKind kind)
{
    switch (kind) {
    case ChooserKind::Import: return QStringLiteral("dossiers/importation");
    case ChooserKind::Export: return QStringLiteral("dossiers/exportation");
    case ChooserKind::Backup: return QStringLiteral("dossiers/sauvegarde");
    }
    return {};
}

}  // namespace

QString picturesFolder()
{
    return existingOrHome(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
}

QString documentsFolder()
{
    return existingOrHome(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString lastFolder(ChooserKind kind)
{
    const QString last = userSettings()->value(settingKey(kind)).toString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : QString();
}

QString startFolder(ChooserKind kind)
{
    const QString last = lastFolder(kind);
    return last.isEmpty() ? documentsFolder() : last;
}

void rememberChosen(ChooserKind kind, const QString& path)
{
    const QFileInfo info(path);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    userSettings()->setValue(settingKey(kind), folder);
}

}  // namespace tb
