#include "core/base/file_watch.h"

#include <QFileInfo>

namespace tb {

void FileWatch::note()
{
    const QFileInfo info(m_path);
    m_size = info.exists() ? info.size() : -1;
    m_time = info.exists() ? info.lastModified() : QDateTime();
}

bool FileWatch::changed() const
{
    const QFileInfo info(m_path);
    return (info.exists() ? info.size() : -1) != m_size || (info.exists() ? info.lastModified() : QDateTime()) != m_time;
}

}  // namespace tb
