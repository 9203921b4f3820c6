#include "core/lists/card_lists.h"

#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/cards/card_record.h"
#include "core/lists/display_line.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tb {
namespace {

// The fields straight from the record's bytes, joined by blanks and decoded
// once: the list passes decode only what they show (one byte is one
// character in the code page, so joining before decoding changes nothing).
template <size_t N>
QByteArray rawBytes(QByteArrayView record, const std::array<int, N>& fields)
{
    char buffer[N * 41];
    return QByteArray(buffer, writeDisplayBytes(record, fields.data(), N, buffer) - buffer);
}

template <size_t N>
QString rawLine(QByteArrayView record, const std::array<int, N>& fields)
{
    return fromCp1252(rawBytes(record, fields));
}

}  // namespace

KeyFields keyFields(ListKind kind)
{
    switch (kind) {
    case ListKind::ByCity:
        return {7, 6, 3, 4};
    case ListKind::ByPostalCode:
        return {6, 7, 3, 4};
    case ListKind::Alphabetical:
    case ListKind::Archived:
        break;
    }
    return {3, 4, 6, 7};
}

// "0", a blank or any other character marks an archived card (or a record
// never written).
bool activeRecord(QByteArrayView record)
{
    return !record.isEmpty() && record[0] >= '1' && record[0] <= '9';
}

QString displayLine(QByteArrayView record, const std::array<int, 4>& fields)
{
    return rawLine(record, fields);
}

char* writeDisplayBytes(QByteArrayView record, const int* fields, size_t count, char* out)
{
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            *out++ = ' ';
        const int width = CardRecord::kWidths[size_t(fields[i] - 1)];
        const qsizetype offset = CardRecord::offset(fields[i] - 1);
        const qsizetype have = std::clamp<qsizetype>(record.size() - offset, 0, width);
        if (have > 0)
            std::memcpy(out, record.data() + offset, size_t(have));
        std::memset(out + have, ' ', size_t(width - have));
        out += width;
    }
    return out;
}

Result<CardList> buildCardList(const CardStore& store, long long count, ListKind kind)
{
    const KeyFields order = keyFields(kind);
    const bool wantActive = kind != ListKind::Archived;
    CardList list;
    const Status read = store.forEachRaw(count, [&](long long n, QByteArrayView record) {
        if (activeRecord(record) != wantActive)
            return;
        list.addBytes(rawBytes(record, order), n);
    });
    if (!read)
        return read.error();
    list.sort();
    return list;
}

Result<CardList> buildNameList(const CardStore& store, long long count)
{
    CardList list;
    const Status read = store.forEachRaw(count, [&](long long n, QByteArrayView record) {
        list.addBytes(rawBytes(record, std::array<int, 2>{3, 4}), n);
    });
    if (!read)
        return read.error();
    list.sort();
    return list;
}

Result<EmailLists> buildEmailLists(const CardStore& store, long long count)
{
    EmailLists lists;
    const Status read = store.forEachRaw(count, [&](long long, QByteArrayView record) {
        lists.names.append(rawLine(record, std::array<int, 3>{2, 3, 4}));
        lists.addresses.append(rawLine(record, std::array<int, 1>{10}));
    });
    if (!read)
        return read.error();
    return lists;
}

QString nameEntry(const CardRecord& card)
{
    return card.field(kFieldSurname) + u' ' + card.field(kFieldFirstNames);
}

Result<CardList> hitList(const CardStore& store, long long count, const std::vector<long long>& numbers)
{
    std::vector<long long> wanted;
    wanted.reserve(numbers.size());
    for (long long n : numbers)
        if (n >= 1 && n <= count)
            wanted.push_back(n);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    CardList list;
    const KeyFields order = keyFields(ListKind::Alphabetical);
    // A click finds a few cards: each record alone. A zone may hold thousands:
    // one pass over the records in blocks.
    constexpr size_t kFewCards = 64;
    if (wanted.size() <= kFewCards) {
        for (long long n : wanted) {
            const Result<CardRecord> card = store.read(n);
            if (!card)
                return card.error();
            list.addBytes(rawBytes(QByteArrayView(card->toBytes()), order), n);
        }
        return list;
    }
    size_t next = 0;
    const Status read = store.forEachRaw(wanted.back(), [&](long long n, QByteArrayView record) {
        if (next < wanted.size() && wanted[next] == n) {
            list.addBytes(rawBytes(record, order), n);
            ++next;
        }
    });
    if (!read)
        return read.error();
    return list;
}

}  // namespace tb
