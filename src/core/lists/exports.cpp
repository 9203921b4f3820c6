#include "core/lists/exports.h"

#include "core/base/safe_write.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"

#include <algorithm>
#include <cstring>

namespace tb {
namespace {

// Fields are copied as stored, at full width: nothing trimmed, quoted or
// escaped, so a ";" typed in a field stays (and shifts the columns after it).
// Records are always whole here (the store reads whole records only).
char* putField(char* out, const char* record, int k)
{
    const int width = CardRecord::kWidths[size_t(k - 1)];
    std::memcpy(out, record + CardRecord::offset(k - 1), size_t(width));
    return out + width;
}

constexpr qsizetype fieldsLineSize()
{
    qsizetype n = 2;  // CR LF
    for (CardField k = kFieldCivility; k <= kFieldLast; ++k)
        n += CardRecord::kWidths[size_t(k - 1)] + 1;
    return n;
}

constexpr qsizetype addressLinesSize()
{
    const auto& w = CardRecord::kWidths;
    return w[1] + 1 + w[2] + 1 + w[3] + 2 + w[4] + 2 + w[5] + 1 + w[6] + 2;
}

void putFieldsLine(AtomicFileWriter& out, const char* record)
{
    char* at = out.reserve(fieldsLineSize());
    for (CardField k = kFieldCivility; k <= kFieldLast; ++k) {
        at = putField(at, record, k);
        *at++ = ';';
    }
    std::memcpy(at, "\r\n", 2);
}

void putAddressLines(AtomicFileWriter& out, const char* record)
{
    char* at = out.reserve(addressLinesSize());
    at = putField(at, record, 2);
    *at++ = ' ';
    at = putField(at, record, 3);
    *at++ = ' ';
    at = putField(at, record, 4);
    at = std::copy_n("\r\n", 2, at);
    at = putField(at, record, 5);
    at = std::copy_n("\r\n", 2, at);
    at = putField(at, record, 6);
    *at++ = ' ';
    at = putField(at, record, 7);
    std::memcpy(at, "\r\n", 2);
}

}  // namespace

QString exportFileName(ExportFormat format)
{
    return format == ExportFormat::Fields ? QStringLiteral("export.txt") : QStringLiteral("adresses.txt");
}

Result<QString> writeExport(const CardStore& store, long long count, ExportFormat format)
{
    const bool fields = format == ExportFormat::Fields;
    const QString path = store.file(exportFileName(format));
    // Written as it is read: a million cards never sit twice in memory.
    AtomicFileWriter out(path);
    if (!out.status())
        return out.status().error();
    const Status read = store.forEachRaw(count, [&](long long, QByteArrayView record) {
        if (fields)
            putFieldsLine(out, record.data());
        else
            putAddressLines(out, record.data());
    });
    if (!read)
        return read.error();
    if (const Status written = out.commit(); !written)
        return written.error();
    return path;
}

}  // namespace tb
