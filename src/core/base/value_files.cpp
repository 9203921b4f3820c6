#include "core/base/value_files.h"

#include "core/base/codepage.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/db/count_file.h"

#include <QFile>

namespace tb {

namespace {
QString quoted(QString value)
{
    value.replace(u'"', QStringLiteral("\"\""));
    return u'"' + value + u'"';
}
}  // namespace

namespace {
QStringList parseText(const QString& text, int maxCount)
{
    QStringList values;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isLineEnd = [&](qsizetype k) { return text[k] == u'\r' || text[k] == u'\n'; };
    while (i < n && (maxCount < 0 || values.size() < maxCount)) {
        while (i < n && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
        if (i >= n)
            break;
        QString value;
        if (text[i] == u'"') {
            // A doubled quote inside a quoted value is one quote of the value
            // (how we write values that hold quotes); "" alone is the empty value.
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        value += u'"';
                        i += 2;
                        continue;
                    }
                    break;
                }
                value += text[i++];
            }
            ++i;
            // Anything after the closing quote up to the delimiter is dropped.
            while (i < n && text[i] != u',' && !isLineEnd(i))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != u',' && !isLineEnd(i))
                ++i;
            value = text.mid(start, i - start);
            while (value.endsWith(u' ') || value.endsWith(u'\t'))
                value.chop(1);
        }
        // Step over one delimiter: a comma, or a line end (CR LF counts once).
        if (i < n && text[i] == u',') {
            ++i;
        } else if (i < n && text[i] == u'\r') {
            ++i;
            if (i < n && text[i] == u'\n')
                ++i;
        } else if (i < n && text[i] == u'\n') {
            ++i;
        }
        values << value;
    }
    return values;
}

}  // namespace

QStringList parseValues(QByteArrayView bytes, int maxCount)
{
    return parseText(fromCp1252(bytes), maxCount);
}

QString parseFirstValue(QByteArrayView bytes)
{
    const QStringList v = parseValues(bytes, 1);
    return v.isEmpty() ? QString() : v.first();
}

QString readFirstValue(const QString& path, bool* exists)
{
    // One value never needs more than the first few kilobytes.
    const Result<QByteArray> bytes = readFileStart(path, kValueFileReadLimit);
    if (exists)
        *exists = bytes.ok();
    return bytes ? parseFirstValue(*bytes) : QString();
}

QStringList readValues(const QString& path, int count)
{
    const Result<QByteArray> bytes = readFileStart(path, 1024 * 1024);
    return bytes ? parseValues(*bytes, count) : QStringList();
}

namespace {
QString valueText(const QString& value)
{
    // Blanks at either end would be lost by the reading, as a comma would cut.
    const bool quote = value.contains(u',') || value.startsWith(u' ') || value.startsWith(u'"')
                       || value.startsWith(u'\t') || value.endsWith(u' ') || value.endsWith(u'\t');
    return quote ? quoted(value) : value;
}
}  // namespace

QByteArray valueLine(const QString& value)
{
    return toCp1252(valueText(value)) + "\r\n";
}

QString readPathValue(const QString& path)
{
    const Result<QByteArray> bytes = readFileStart(path, kValueFileReadLimit);
    if (!bytes)
        return {};
    const QStringList v = parseText(decodePathValue(*bytes), 1);
    return v.isEmpty() ? QString() : v.first();
}

Status writePathValue(const QString& path, const QString& value)
{
    return writeFileAtomic(path, encodePathValue(valueText(value)) + "\r\n");
}

Status writeValueFile(const QString& path, const QString& value)
{
    return writeFileAtomic(path, valueLine(value));
}

Status writeQuotedLines(const QString& path, const QStringList& values)
{
    QByteArray bytes;
    for (const QString& v : values)
        bytes += toCp1252(quoted(v)) + "\r\n";
    return writeFileAtomic(path, bytes);
}

}  // namespace tb
