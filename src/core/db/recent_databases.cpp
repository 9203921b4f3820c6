#include "core/db/recent_databases.h"

#include "core/db/database_files.h"

#include <QSettings>
#include <memory>

namespace tb {

namespace {
const QString kFolders = QStringLiteral("basesRecentes");
const QString kReopen = QStringLiteral("rouvrirDerniereBase");
const QString kBackups = QStringLiteral("sauvegardes");

QStringList existingFolders(const QString& key)
{
    QStringList found;
    for (const QString& folder : userSettings()->value(key).toStringList())
        if (isDatabaseFolder(folder))
            found << folder;
    return found;
}

void putFirst(const QString& key, const QString& folder, int kept)
{
    const std::unique_ptr<QSettings> s = userSettings();
    QStringList all = s->value(key).toStringList();
    all.removeAll(folder);
    all.prepend(folder);
    s->setValue(key, all.mid(0, kept));
}
}  // namespace

std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tabulon"),
                                       QStringLiteral("Tabulon"));
}

QStringList RecentDatabases::folders()
{
    return existingFolders(kFolders);
}

void RecentDatabases::add(const QString& folder)
{
    putFirst(kFolders, folder, kKept);
}

QStringList RememberedBackups::folders()
{
    return existingFolders(kBackups);
}

void RememberedBackups::add(const QString& folder)
{
    putFirst(kBackups, folder, kKept);
}

bool RecentDatabases::reopenAtStart()
{
    return userSettings()->value(kReopen, false).toBool();
}

void RecentDatabases::setReopenAtStart(bool on)
{
    userSettings()->setValue(kReopen, on);
}

}  // namespace tb
