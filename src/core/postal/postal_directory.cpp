#include "core/postal/postal_directory.h"

#include "core/base/codepage.h"
#include "core/base/numeric.h"
#include "core/base/safe_write.h"

#include <algorithm>
#include <functional>

namespace tb {

namespace {

// A directory line has a name, a separator and a five-digit code.
constexpr qsizetype kShortestLine = 6;

// Lines of a whole file read at once, CR LF or LF; "" when missing.
QStringList fileLines(const QString& path)
{
    const QString text = fromCp1252(readWholeFile(path));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

void collectDirectoryLines(const QString& path, const std::function<bool(const QString&)>& take,
                           QStringList& out)
{
    for (const QString& line : fileLines(path)) {
        if (line.size() >= kShortestLine && take(line))
            out.append(line);
    }
}

QStringList searchAllFiles(const QString& programFolder, const std::function<bool(const QString&)>& take)
{
    QStringList out;
    for (const QString& name : postalFiles())
        collectDirectoryLines(programFolder + name, take, out);
    return out;
}

}  // namespace

QStringList postalFiles()
{
    return {QStringLiteral("c01a20.txt"), QStringLiteral("c21a40.txt"), QStringLiteral("c41a60.txt"),
            QStringLiteral("c61a80.txt"), QStringLiteral("c81a95.txt")};
}

QString postalFileForDepartment(double d)
{
    const QStringList files = postalFiles();
    if (d < 21)
        return files[0];
    if (d < 41)
        return files[1];
    if (d < 61)
        return files[2];
    if (d < 81)
        return files[3];
    return files[4];
}

QStringList departmentListing(const QString& programFolder, double d)
{
    QStringList out;
    collectDirectoryLines(
        programFolder + postalFileForDepartment(d),
        [d](const QString& line) { return numericValue(QStringView(line).right(5).left(2)) == d; }, out);
    return out;
}

QStringList searchByPostalCode(const QString& programFolder, const QString& code)
{
    return searchAllFiles(programFolder,
                          [&code](const QString& line) { return QStringView(line).right(5) == code; });
}

QStringList searchByCityPrefix(const QString& programFolder, const QString& prefix)
{
    return searchAllFiles(programFolder, [&prefix](const QString& line) { return line.startsWith(prefix); });
}

QString postalCodeOfLine(const QString& line)
{
    return line.right(5);
}

QString cityOfLine(const QString& line)
{
    return line.size() > kShortestLine ? line.left(line.size() - kShortestLine) : QString();
}

QStringList readDepartments(const QString& programFolder)
{
    QStringList out;
    for (const QString& line : fileLines(programFolder + QStringLiteral("depts.txt"))) {
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

int departmentRow(const QStringList& departments, QStringView number)
{
    for (int row = 0; row < departments.size(); ++row)
        if (departments[row].size() > number.size() && QStringView(departments[row]).startsWith(number)
            && departments[row][number.size()] == u' ')
            return row;
    return -1;
}

TypedPostalCode lookUpTypedPostalCode(const QString& programFolder, const QString& code)
{
    if (code.size() != 5 || !std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return {};
    TypedPostalCode found;
    // Only the file of its department holds the code.
    const QStringView department = QStringView(code).left(2);
    collectDirectoryLines(
        programFolder + postalFileForDepartment(numericValue(department)),
        [&code](const QString& line) { return QStringView(line).right(5) == code; }, found.communes);
    found.departmentRow = departmentRow(readDepartments(programFolder), department);
    return found;
}

}  // namespace tb
