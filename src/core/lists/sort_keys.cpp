#include "core/lists/sort_keys.h"

#include "core/base/codepage.h"
#include "core/base/collation.h"
#include "core/base/freed_memory.h"
#include "core/cards/card_record.h"
#include "core/lists/display_line.h"

#include <algorithm>
#include <charconv>
#include <future>
#include <cstring>
#include <thread>

namespace tb {
namespace {

// The key units of each byte of the code page, one byte each: the ranks
// stay far below 255 (0xFF is what a byte without a rank of its own gets).
struct ByteKeys {
    std::array<std::array<char, 4>, 256> units{};
    std::array<quint8, 256> length{};
    std::string numberText;  // " Fiche n°          ", the number's text before its digits
    bool usable = true;

    ByteKeys()
    {
        for (int b = 0; b < 256; ++b) {
            std::u16string key;
            const bool whole = appendFrenchPrimaryKey(QString(cp1252Char(uchar(b))), key);
            if (!whole || key.size() > units[0].size() || std::any_of(key.begin(), key.end(), [](char16_t u) {
                    return u == 0 || u >= 0xFF;
                })) {
                usable = false;
                continue;
            }
            length[size_t(b)] = quint8(key.size());
            for (size_t k = 0; k < key.size(); ++k)
                units[size_t(b)][k] = char(key[k]);
        }
        // The sign's blank included: the digits follow.
        append(toCp1252(sortLine(QString(), 0).chopped(1)), numberText);
    }

    void append(QByteArrayView bytes, std::string& out) const
    {
        char buffer[4 * 64];
        while (!bytes.isEmpty()) {
            const QByteArrayView part = bytes.first(std::min<qsizetype>(bytes.size(), 64));
            out.append(buffer, size_t(write(part, buffer) - buffer));
            bytes = bytes.sliced(part.size());
        }
    }

    // The units of bytes at out (room for four per byte); returns their end.
    char* write(QByteArrayView bytes, char* out) const
    {
        for (char c : bytes) {
            const size_t b = uchar(c);
            std::memcpy(out, units[b].data(), 4);
            out += length[b];
        }
        return out;
    }
};

const ByteKeys& byteKeys()
{
    static const ByteKeys keys;
    return keys;
}

int compareBytes(std::string_view a, std::string_view b)
{
    return a.compare(b);
}

// The units of a record's field k (1 to 20) at its full width, blanks past a
// short record.
char* writeField(QByteArrayView record, int k, const ByteKeys& table, char* out)
{
    const int width = CardRecord::kWidths[size_t(k - 1)];
    const qsizetype offset = CardRecord::offset(k - 1);
    const qsizetype have = std::clamp<qsizetype>(record.size() - offset, 0, width);
    out = table.write(record.sliced(std::min(offset, record.size()), have), out);
    for (qsizetype i = have; i < width; ++i)
        out = table.write(" ", out);
    return out;
}

bool belongs(const SortKeys& keys, long long n, ListKind kind, ListOrder order)
{
    if (order == ListOrder::Name)
        return true;
    return keys.active(n) == (kind != ListKind::Archived);
}

// The line's bytes at out, straight from the record: kind's four fields, or
// the name part's two.
char* writeLine(QByteArrayView record, ListKind kind, ListOrder order, char* out)
{
    const KeyFields fields = keyFields(kind);
    return writeDisplayBytes(record, fields.data(), order == ListOrder::Name ? 2 : fields.size(), out);
}

QByteArray lineOf(QByteArrayView record, ListKind kind, ListOrder order)
{
    char buffer[4 * 41];
    return QByteArray(buffer, writeLine(record, kind, order, buffer) - buffer);
}

// The lines of cards (indices, in the order wanted), read from the records:
// one by one for a few, in one pass for many.
Result<CardList> readLines(const CardStore& store, const std::vector<quint32>& cards, ListKind kind, ListOrder order)
{
    const size_t from = 0, to = cards.size();
    CardList list;
    list.markSorted();
    if (from >= to)
        return list;
    constexpr size_t kFewLines = 4096;
    if (to - from <= kFewLines) {
        for (size_t i = from; i < to; ++i) {
            const long long n = (long long)cards[i] + 1;
            const Status read = store.forEachRaw(n, n, [&](long long, QByteArrayView record) {
                list.addBytes(lineOf(record, kind, order), n);
            });
            if (!read)
                return read.error();
            if (list.size() != int(i - from + 1))
                list.addBytes(lineOf({}, kind, order), n);  // past the end of the file: blank
        }
        list.markSorted();
        return list;
    }
    quint32 last = 0;
    std::vector<qint32> row;  // card index -> position in cards[from, to), or -1
    for (size_t i = from; i < to; ++i)
        last = std::max(last, cards[i]);
    row.assign(size_t(last) + 1, -1);
    for (size_t i = from; i < to; ++i)
        row[cards[i]] = qint32(i - from);
    // Every line has the same width: each is written at its row's place.
    const size_t width = size_t(lineOf({}, kind, order).size());
    std::string lines((to - from) * width, ' ');
    const Status read = store.forEachRaw((long long)last + 1, [&](long long n, QByteArrayView record) {
        if (const qint32 r = row[size_t(n - 1)]; r >= 0)
            writeLine(record, kind, order, lines.data() + size_t(r) * width);
    });
    if (!read)
        return read.error();
    for (size_t i = from; i < to; ++i)
        list.addBytes(QByteArrayView(lines.data() + (i - from) * width, qsizetype(width)), (long long)cards[i] + 1);
    list.markSorted();
    return list;
}

}  // namespace

bool SortKeys::usable()
{
    return byteKeys().usable;
}

Status SortKeys::load(const CardStore& store, long long count)
{
    m_cards.clear();
    m_keys.clear();
    m_stale = 0;
    count = std::max(0LL, count);
    m_cards.resize(size_t(count));
    m_keys.reserve(m_cards.size() * 136);
    // A large file is keyed in two halves side by side, one per core; the
    // second half's keys joined after the first's.
    const long long half = count >= kSplitCards ? count / 2 : count;
    std::string later;
    std::future<Status> second;
    if (half < count)
        second = std::async(std::launch::async, [&] {
            later.reserve(size_t(count - half) * 136);
            return store.forEachRaw(half + 1, count, [&](long long n, QByteArrayView record) {
                append(n, record, m_cards[size_t(n - 1)], later);
            });
        });
    Status s = store.forEachRaw(1, half, [&](long long n, QByteArrayView record) {
        append(n, record, m_cards[size_t(n - 1)], m_keys);
    });
    if (second.valid()) {
        const Status t = second.get();
        const size_t shift = m_keys.size();
        m_keys.append(later);
        for (size_t i = size_t(half); i < m_cards.size(); ++i)
            m_cards[i].offset += shift;
        if (s && !t)
            s = t;
    }
    return s;
}

void SortKeys::append(long long n, QByteArrayView record, Card& card, std::string& keys) const
{
    const ByteKeys& table = byteKeys();
    // Four units at most per character: the fields, their blanks, the number.
    char buffer[4 * 41];
    char* out = writeField(record, m_fields[0], table, buffer);
    out = table.write(" ", out);
    out = writeField(record, m_fields[1], table, out);
    card.name = quint16(out - buffer);
    for (int k : {m_fields[2], m_fields[3]}) {
        out = table.write(" ", out);
        out = writeField(record, k, table, out);
    }
    card.rest = quint16(out - buffer - card.name);
    std::memcpy(out, table.numberText.data(), table.numberText.size());
    out += table.numberText.size();
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, n);
    out = table.write(QByteArrayView(digits, written.ptr - digits), out);
    card.number = quint8(out - buffer - card.name - card.rest);
    card.offset = keys.size();
    card.active = activeRecord(record);
    keys.append(buffer, size_t(out - buffer));
}

void SortKeys::set(long long n, QByteArrayView record)
{
    if (n < 1 || n > count() + 1)
        return;
    if (n == count() + 1)
        m_cards.emplace_back();
    Card& card = m_cards[size_t(n - 1)];
    m_stale += size_t(card.name) + card.rest + card.number;
    append(n, record, card, m_keys);
    // Changed keys are written past the others: the old ones go once they
    // fill half the buffer.
    if (m_stale > m_keys.size() / 2) {
        std::string kept;
        kept.reserve(m_keys.size() - m_stale);
        for (Card& c : m_cards) {
            const size_t length = size_t(c.name) + c.rest + c.number;
            const size_t offset = kept.size();
            kept.append(m_keys, c.offset, length);
            c.offset = offset;
        }
        m_keys.swap(kept);
        m_stale = 0;
    }
}

Status SortKeys::resize(const CardStore& store, long long count)
{
    count = std::max(0LL, count);
    if (count <= this->count()) {
        m_cards.resize(size_t(count));
        return {};
    }
    return store.forEachRaw(this->count() + 1, count, [&](long long n, QByteArrayView record) {
        if (n == this->count() + 1)
            set(n, record);
    });
}

bool SortKeys::lineLess(quint32 a, quint32 b) const
{
    const Card& ca = m_cards[a];
    const Card& cb = m_cards[b];
    const std::string_view ka(m_keys.data() + ca.offset, size_t(ca.name) + ca.rest + ca.number);
    const std::string_view kb(m_keys.data() + cb.offset, size_t(cb.name) + cb.rest + cb.number);
    return compareBytes(ka, kb) < 0;
}

std::array<quint64, 2> SortKeys::start(quint32 index, bool namePart) const
{
    const Card& c = m_cards[index];
    // The first sixteen bytes of the key compared, zeros past its end (no
    // unit is zero, so a shorter key still comes first).
    std::array<unsigned char, 16> bytes{};
    const std::string_view name(m_keys.data() + c.offset, c.name);
    const std::string_view rest(m_keys.data() + c.offset + c.name, c.rest);
    const std::string_view number(m_keys.data() + c.offset + c.name + c.rest, c.number);
    size_t at = 0;
    for (std::string_view part : {name, namePart ? std::string_view() : rest, number})
        for (size_t i = 0; i < part.size() && at < bytes.size(); ++i)
            bytes[at++] = (unsigned char)part[i];
    std::array<quint64, 2> out{};
    for (size_t i = 0; i < 16; ++i)
        out[i / 8] = out[i / 8] << 8 | bytes[i];
    return out;
}

bool SortKeys::nameLess(quint32 a, quint32 b) const
{
    const Card& ca = m_cards[a];
    const Card& cb = m_cards[b];
    const std::string_view na(m_keys.data() + ca.offset, ca.name);
    const std::string_view nb(m_keys.data() + cb.offset, cb.name);
    const std::string_view ta(m_keys.data() + ca.offset + ca.name + ca.rest, ca.number);
    const std::string_view tb(m_keys.data() + cb.offset + cb.name + cb.rest, cb.number);
    if (ca.name == cb.name) {
        if (const int c = compareBytes(na, nb); c != 0)
            return c < 0;
        return compareBytes(ta, tb) < 0;
    }
    // Name parts of different lengths ("Œ" gives two units): the whole keys.
    return compareBytes(std::string(na) + std::string(ta), std::string(nb) + std::string(tb)) < 0;
}

struct ListFill::Shared {
    std::shared_ptr<const SortKeys> keys;
    CardStore store{QString()};
    std::vector<Item> cards;
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    CardList more;     // sorted, not yet taken
    bool done = false;
    Status status;
};

namespace {

std::vector<ListFill::Item> members(const SortKeys& keys, ListKind kind, ListOrder order)
{
    std::vector<ListFill::Item> cards;
    cards.reserve(size_t(keys.count()));
    for (long long n = 1; n <= keys.count(); ++n)
        if (belongs(keys, n, kind, order)) {
            const quint32 card = quint32(n - 1);
            const std::array<quint64, 2> start = keys.start(card, order == ListOrder::Name);
            cards.push_back({start[0], start[1], card});
        }
    return cards;
}

// The keys' first bytes sit beside the card: most comparisons end there,
// without a look at the keys far away in memory.
auto lessOf(const SortKeys& keys, ListOrder order)
{
    return [&keys, order](const ListFill::Item& a, const ListFill::Item& b) {
        if (a.start != b.start)
            return a.start < b.start;
        if (a.next != b.next)
            return a.next < b.next;
        return order == ListOrder::Name ? keys.nameLess(a.card, b.card) : keys.lineLess(a.card, b.card);
    };
}

std::vector<quint32> cardsOf(const std::vector<ListFill::Item>& items, size_t from, size_t to)
{
    std::vector<quint32> cards(to - from);
    for (size_t i = from; i < to; ++i)
        cards[i - from] = items[i].card;
    return cards;
}

}  // namespace

Result<std::shared_ptr<ListFill>> ListFill::start(std::shared_ptr<const SortKeys> keys, const CardStore& store,
                                                  ListKind kind, ListOrder order, int firstRows)
{
    std::shared_ptr<ListFill> fill(new ListFill);
    fill->m_kind = kind;
    fill->m_order = order;
    fill->m_shared = std::make_shared<Shared>();
    Shared& s = *fill->m_shared;
    s.keys = std::move(keys);
    s.store = store;
    s.cards = members(*s.keys, kind, order);
    const auto less = lessOf(*s.keys, order);
    const size_t first = std::min(s.cards.size(), size_t(std::max(1, firstRows)));
    // The first rows come out of one pass over the cards; the rest stays
    // unsorted behind them.
    std::partial_sort(s.cards.begin(), s.cards.begin() + ptrdiff_t(first), s.cards.end(), less);
    Result<CardList> lines = readLines(s.store, cardsOf(s.cards, 0, first), kind, order);
    if (!lines)
        return lines.error();
    fill->m_first = std::move(lines).value();
    if (first == s.cards.size()) {
        s.done = true;
        return fill;
    }
    std::thread([shared = fill->m_shared, first, kind, order] {
        Shared& s = *shared;
        const auto less = lessOf(*s.keys, order);
        // A screenful or so more to page through at once, then all the rest.
        const size_t next = std::min(s.cards.size(), first + 8192);
        for (auto [from, to] : {std::pair(first, next), std::pair(next, s.cards.size())}) {
            if (s.cancelled || from == to)
                continue;
            const auto begin = s.cards.begin();
            if (to < s.cards.size())
                std::nth_element(begin + ptrdiff_t(from), begin + ptrdiff_t(to), s.cards.end(), less);
            std::sort(begin + ptrdiff_t(from), begin + ptrdiff_t(to), less);
            Result<CardList> lines = readLines(s.store, cardsOf(s.cards, from, to), kind, order);
            const std::lock_guard lock(s.mutex);
            if (!lines) {
                s.status = lines.error();
                break;
            }
            s.more.append(std::move(lines).value());
        }
        {
            const std::lock_guard lock(s.mutex);
            s.done = true;
            s.keys.reset();
        }
        returnFreedMemory();
    }).detach();
    return fill;
}

std::shared_ptr<ListFill> ListFill::whole(ListKind kind, ListOrder order, CardList list)
{
    std::shared_ptr<ListFill> fill(new ListFill);
    fill->m_kind = kind;
    fill->m_order = order;
    fill->m_first = std::move(list);
    fill->m_shared = std::make_shared<Shared>();
    fill->m_shared->done = true;
    return fill;
}

Result<CardList> ListFill::sortAll(std::shared_ptr<const SortKeys> keys, const CardStore& store, ListKind kind,
                                   ListOrder order)
{
    std::vector<Item> cards = members(*keys, kind, order);
    std::sort(cards.begin(), cards.end(), lessOf(*keys, order));
    return readLines(store, cardsOf(cards, 0, cards.size()), kind, order);
}

ListFill::~ListFill()
{
    if (m_shared)
        m_shared->cancelled = true;
}

CardList ListFill::takeMore()
{
    const std::lock_guard lock(m_shared->mutex);
    return std::exchange(m_shared->more, CardList());
}

bool ListFill::done() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->done && m_shared->more.isEmpty();
}

Status ListFill::status() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->status;
}

std::optional<QString> listLine(QByteArrayView record, ListKind kind, ListOrder order)
{
    if (order == ListOrder::Line && activeRecord(record) != (kind != ListKind::Archived))
        return std::nullopt;
    return fromCp1252(lineOf(record, kind, order));
}

}  // namespace tb
