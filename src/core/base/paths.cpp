#include "core/base/paths.h"

#include <QDir>

namespace tb {

QString folderText(const QString& folder)
{
    QString text = QDir::cleanPath(QDir(folder).absolutePath());
    if (!text.endsWith(u'/'))
        text += u'/';
    return text;
}

}  // namespace tb
