#include "core/letters/letters.h"

#include "core/base/collation.h"
#include "core/base/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace tb {

namespace {
const QString kExtension = QStringLiteral(".html");
}

QString lettersFolder(const QString& programFolder)
{
    return programFolder + QStringLiteral("Lettres/");
}

QStringList letterNames(const QString& programFolder)
{
    QStringList names;
    const QDir dir(lettersFolder(programFolder));
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.html"), QStringLiteral("*.HTML")}, QDir::Files))
        names.append(f.completeBaseName());
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return frenchCompare(a, b) < 0; });
    return names;
}

QString letterPath(const QString& programFolder, const QString& name)
{
    const QString path = lettersFolder(programFolder) + name + kExtension;
    // A letter copied in under ".HTML" keeps its own name.
    const QString upper = lettersFolder(programFolder) + name + kExtension.toUpper();
    return !QFileInfo::exists(path) && QFileInfo::exists(upper) ? upper : path;
}

Status checkLetterName(const QString& name)
{
    const bool bad = name.trimmed().isEmpty() || name.startsWith(u'.') || name.contains(u'/') || name.contains(u'\\')
                     || std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 32; });
    if (bad)
        return Error{kErrorBadFileName, QStringLiteral("Nom de lettre incorrect : « ") + name + QStringLiteral(" »")};
    return {};
}

Result<QString> loadLetter(const QString& programFolder, const QString& name)
{
    Result<QByteArray> bytes = readFile(letterPath(programFolder, name));
    if (!bytes)
        return bytes.error();
    return QString::fromUtf8(*bytes);
}

Status saveLetter(const QString& programFolder, const QString& name, const QString& html)
{
    if (Status s = checkLetterName(name); !s)
        return s;
    if (!QDir().mkpath(lettersFolder(programFolder)))
        return Error{kErrorPermission, lettersFolder(programFolder)};
    return writeFileAtomic(letterPath(programFolder, name), html.toUtf8());
}

Status removeLetter(const QString& programFolder, const QString& name)
{
    const QString path = letterPath(programFolder, name);
    QFile file(path);
    if (!file.remove())
        return Error{kErrorPathAccess, path + QStringLiteral(" : ") + file.errorString()};
    syncFolder(lettersFolder(programFolder));
    return {};
}

}  // namespace tb
