#include "core/db/recent_databases.h"

#include "core/db/database_files.h"

#include <QSettings>
#include <memory>

namespace tb {

namespace {
const QString kFolders = QStringLiteral("basesRecentes");
const QString kReopen = QStringLiteral("rouvrirDerniereBase");

std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tabulon"),
                                       QStringLiteral("Tabulon"));
}
}  // namespace

QStringList RecentDatabases::folders()
{
    QStringList found;
    for (const QString& folder : settings()->value(kFolders).toStringList())
        if (isDatabaseFolder(folder))
            found << folder;
    return found;
}

void RecentDatabases::add(const QString& folder)
{
    const std::unique_ptr<QSettings> s = settings();
    QStringList all = s->value(kFolders).toStringList();
    all.removeAll(folder);
    all.prepend(folder);
    s->setValue(kFolders, all.mid(0, kKept));
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
