#include "core/base/error.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace tb {

QString Error::message() const
{
    if (number == kNoErrorNumber)
        return text;
    QString m = QStringLiteral("Erreur n° ") + QString::number(number);
    if (!text.isEmpty())
        m += QStringLiteral(" : ") + text;
    return m;
}

Error Error::fromErrno(int err, const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const QString of = name.isEmpty() ? QString() : QStringLiteral(" (") + name + u')';
    switch (err) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return {kErrorDiskFull, QStringLiteral("le disque est plein") + of};
    case EACCES:
    case EPERM:
    case EROFS:
        return {kErrorPermission, QStringLiteral("permission refusée") + of};
    case ENOENT:
        if (QFileInfo(path).absoluteDir().exists())
            return {kErrorFileNotFound, QStringLiteral("fichier introuvable") + of};
        return {kErrorPathNotFound, QStringLiteral("chemin introuvable") + of};
    case ENOTDIR:
        return {kErrorPathNotFound, QStringLiteral("chemin introuvable") + of};
    case EISDIR:
        return {kErrorPathAccess, QStringLiteral("un dossier porte le nom du fichier") + of};
    default:
        return {kErrorPathAccess, QStringLiteral("erreur d'accès au fichier") + of};
    }
}

}  // namespace tb
