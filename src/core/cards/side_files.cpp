#include "core/cards/side_files.h"

#include "core/base/number_text.h"

namespace tb {

namespace {
struct Spelling {
    const char* prefix;
    const char* extension;
    const char* templateName;
};

const Spelling& spelling(SideFile kind)
{
    static const Spelling spellings[] = {
        {"F", ".txt", "F.txt"}, {"F", ".xls", "F.xls"},   {"R", ".txt", "R.txt"},   {"I", ".txt", "I.txt"},
        {"M", ".txt", "M.txt"}, {"DtxtA", ".txt", ""},    {"DtxtB", ".txt", ""},    {"ScanA", ".jpg", ""},
        {"ScanB", ".jpg", ""},  {"photo", ".jpg", ""},
    };
    return spellings[int(kind)];
}
}  // namespace

QString sideFilePrefix(SideFile kind)
{
    return QLatin1String(spelling(kind).prefix);
}

QString sideFileExtension(SideFile kind)
{
    return QLatin1String(spelling(kind).extension);
}

QString sideFileName(SideFile kind, long long n)
{
    return sideFilePrefix(kind) + plainNumber(n) + sideFileExtension(kind);
}

QString sideFileTemplate(SideFile kind)
{
    return QLatin1String(spelling(kind).templateName);
}

bool isUserDocument(SideFile kind)
{
    return kind == SideFile::TextA || kind == SideFile::TextB || kind == SideFile::ScanA || kind == SideFile::ScanB;
}

std::optional<SideFile> sideFileOfPrefix(const QString& prefix)
{
    for (const SideFile kind : kSideFiles)
        if (prefix.compare(sideFilePrefix(kind), Qt::CaseInsensitive) == 0)
            return kind;
    return std::nullopt;
}

std::optional<SideFile> sideFileKind(const QString& name, long long n)
{
    for (const SideFile kind : kSideFiles)
        if (name.compare(sideFileName(kind, n), Qt::CaseInsensitive) == 0)
            return kind;
    return std::nullopt;
}

QString sideFileNamePattern()
{
    QStringList prefixes;
    for (const SideFile kind : kSideFiles)
        prefixes << sideFilePrefix(kind);
    prefixes.removeDuplicates();
    return QStringLiteral("(") + prefixes.join(u'|') + QStringLiteral(")([1-9]\\d{0,14})(\\.[a-z0-9]{1,4})");
}

}  // namespace tb
