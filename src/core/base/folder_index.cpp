#include "core/base/folder_index.h"

#include <QDir>
#include <QFileInfo>

namespace tb {

FolderIndex::FolderIndex(const QString& folder) : m_folder(folder)
{
    m_time = QFileInfo(folder).lastModified();
    m_settled = m_time.msecsTo(QDateTime::currentDateTime()) > 1000;
    m_listed = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System,
                                      QDir::Name | QDir::IgnoreCase);
    // The first spelling in name order answers, as a listing would.
    for (const QString& name : m_listed)
        if (!m_names.contains(name.toLower()))
            m_names.insert(name.toLower(), name);
}

QStringList FolderIndex::spellings(const QString& name) const
{
    QStringList found;
    for (const QString& entry : m_listed)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            found << entry;
    return found;
}

void FolderIndex::insert(const QString& name)
{
    if (!m_listed.contains(name))
        m_listed << name;
    m_names.insert(name.toLower(), name);
}

void FolderIndex::remove(const QString& name)
{
    m_listed.removeOne(name);
    m_names.remove(name.toLower());
}

bool FolderIndex::isCurrent() const
{
    return !m_folder.isEmpty() && m_settled && QFileInfo(m_folder).lastModified() == m_time;
}

QString fileAnyCase(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + name))
        return folder + name;
    const QString found = FolderIndex(folder).find(name);
    return folder + (found.isEmpty() ? name : found);
}

}  // namespace tb
