#include "core/db/recent_databases.h"

#include "core/db/database_files.h"

#include <QSettings>
#include <memory>

namespace tb {

namespace {
const QString kFolders = QStringLiteral("basesRecentes");
const QString kReopen = QStringLiteral("rouvrirDerniereBase");
const QString kBackups = QStringLiteral("sauvegardes");

std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tabulon"),
                                       QStringLiteral("Tabulon"));
}

QStringList existingFolders(const QString& key)
{
    QStringList found;
    for (const QString& folder : settings()->value(key).toStringList())
        if (isDatabaseFolder(folder))
            found << folder;
    return found;
}

void putFirst(const QString& key, const QString& folder, int kept)
{
    const std::unique_ptr<QSettings> s = settings();
    QStringList all = s->value(key).toStringList();
    all.removeAll(folder);
    all.prepend(folder);
    s->setValue(key, all.mid(0, kept));
}
}  // namespace

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
    return settings()->value(kReopen, false).toBool();
}

void RecentDatabases::setReopenAtStart(bool on)
{
    settings()->setValue(kReopen, on);
}

}  // namespace tb
