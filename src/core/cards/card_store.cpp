#include "core/cards/card_store.h"

#include "core/base/number_text.h"
#include "core/base/numeric.h"
#include "core/base/value_files.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString kRecords = QStringLiteral("lesfiches.dat");
const QString kCount = QStringLiteral("NBFiches.dat");
const QString kCaptions = QStringLiteral("StrFic.txt");
constexpr int kCaptionCount = 10;
// Records per read in whole-database passes: 1000 records, 630 KB.
constexpr long long kBlockRecords = 1000;

}  // namespace

CardStore::CardStore(QString folder) : m_folder(std::move(folder)) {}

QString CardStore::sideFile(const QString& prefix, long long n, const QString& extension) const
{
    return m_folder + prefix + tb::plainNumber(n) + extension;
}

QString CardStore::readCountText(bool* exists) const
{
    return tb::readFirstValue(file(kCount), exists);
}

long long CardStore::readCountInto(QString& label6) const
{
    bool exists = false;
    const QString text = readCountText(&exists);
    if (exists)
        label6 = text;
    return std::max(0LL, tb::numericInteger(label6));
}

long long CardStore::readCount() const
{
    return std::max(0LL, tb::numericInteger(readCountText()));
}

bool CardStore::writeCountText(const QString& text) const
{
    return tb::writeValueFile(file(kCount), text);
}

long long CardStore::recordsInFile() const
{
    const QFileInfo info(file(kRecords));
    return info.exists() ? info.size() / CardRecord::kSize : 0;
}

long long CardStore::cardsToVisit(long long count) const
{
    if (count <= 0)
        return 0;
    return std::min(count, recordsInFile());
}

CardRecord CardStore::read(long long n) const
{
    if (n < 1)
        return {};
    QFile f(file(kRecords));
    if (!f.open(QIODevice::ReadOnly) || !f.seek((n - 1) * CardRecord::kSize))
        return {};
    return CardRecord::fromBytes(f.read(CardRecord::kSize));
}

bool CardStore::write(long long n, const CardRecord& record) const
{
    if (n < 1)
        return false;
    QFile f(file(kRecords));
    if (!f.open(QIODevice::ReadWrite))  // never Truncate: the other records stay
        return false;
    const qint64 at = (n - 1) * CardRecord::kSize;
    const qint64 size = f.size();
    if (size < at) {
        // The records between the end and card n become blank cards rather
        // than a hole of zero bytes; a torn last record is completed the same way.
        if (!f.seek(size) || f.write(QByteArray(at - size, ' ')) != at - size)
            return false;
    }
    const QByteArray bytes = record.toBytes();
    if (!f.seek(at) || f.write(bytes) != bytes.size())
        return false;
    return f.flush();
}

void CardStore::forEachRaw(long long count, const std::function<void(long long, QByteArrayView)>& fn) const
{
    const long long total = cardsToVisit(count);
    if (total <= 0)
        return;
    QFile f(file(kRecords));
    if (!f.open(QIODevice::ReadOnly))
        return;
    QByteArray block;
    long long n = 1;
    while (n <= total) {
        const long long want = std::min(kBlockRecords, total - n + 1);
        block = f.read(want * CardRecord::kSize);
        const long long got = block.size() / CardRecord::kSize;
        const char* data = block.constData();
        for (long long k = 0; k < got; ++k)
            fn(n + k, QByteArrayView(data + k * CardRecord::kSize, CardRecord::kSize));
        n += got;
        if (got < want)
            break;  // the file shrank while we read it
    }
}

void CardStore::forEach(long long count, const std::function<void(long long, const CardRecord&)>& fn) const
{
    forEachRaw(count, [&](long long n, QByteArrayView bytes) { fn(n, CardRecord::fromBytes(bytes)); });
}

QStringList CardStore::readCaptions() const
{
    return tb::readValues(file(kCaptions), kCaptionCount);
}

bool CardStore::writeCaptions(const QStringList& captions) const
{
    return tb::writeQuotedLines(file(kCaptions), captions);
}
