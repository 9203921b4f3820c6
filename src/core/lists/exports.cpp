#include "core/lists/exports.h"

#include "core/base/safe_write.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"

#include <algorithm>

namespace tb {
namespace {

// Fields are copied as stored, at full width: nothing trimmed, quoted or
// escaped, so a ";" typed in a field stays (and shifts the columns after it).
void appendField(QByteArray& out, QByteArrayView record, int k)
{
    const int width = CardRecord::kWidths[size_t(k - 1)];
    const qsizetype offset = CardRecord::offset(k - 1);
    const qsizetype have = std::clamp<qsizetype>(record.size() - offset, 0, width);
    out += record.sliced(std::min(offset, record.size()), have);
    if (have < width)
        out += QByteArray(width - have, ' ');
}

void appendFieldsLine(QByteArray& out, QByteArrayView record)
{
    for (int k = 2; k <= CardRecord::kFieldCount; ++k) {
        appendField(out, record, k);
        out += ';';
    }
    out += "\r\n";
}

void appendAddressLines(QByteArray& out, QByteArrayView record)
{
    appendField(out, record, 2);
    out += ' ';
    appendField(out, record, 3);
    out += ' ';
    appendField(out, record, 4);
    out += "\r\n";
    appendField(out, record, 5);
    out += "\r\n";
    appendField(out, record, 6);
    out += ' ';
    appendField(out, record, 7);
    out += "\r\n";
}

}  // namespace

QString exportFileName(ExportFormat format)
{
    return format == ExportFormat::Fields ? QStringLiteral("export.txt") : QStringLiteral("adresses.txt");
}

Result<QString> writeExport(const CardStore& store, long long count, ExportFormat format)
{
    const bool fields = format == ExportFormat::Fields;
    QByteArray out;
    const long long records = std::min(count, store.recordsInFile());
    out.reserve(qsizetype(std::max(0LL, records)) * (fields ? 621 : 139));
    const Status read = store.forEachRaw(count, [&](long long, QByteArrayView record) {
        if (fields)
            appendFieldsLine(out, record);
        else
            appendAddressLines(out, record);
    });
    if (!read)
        return read.error();
    const QString path = store.file(exportFileName(format));
    if (const Status written = writeFileAtomic(path, out); !written)
        return written.error();
    return path;
}

}  // namespace tb
