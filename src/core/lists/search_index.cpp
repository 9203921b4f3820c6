#include "core/lists/search_index.h"

#include "core/base/codepage.h"
#include "core/cards/record_bytes.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"
#include "core/lists/display_line.h"
#include "core/base/collation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <string>
#include <string_view>

namespace tb {
namespace {

// What each byte of the code page folds to: up to two characters, none for
// a blank; whether the first is a digit, and whether the last written is.
struct Fold {
    char chars[2] = {0, 0};
    quint8 size = 0;
    bool digit = false;
    bool endsWithDigit = false;
};

struct FoldTable {
    std::array<Fold, 256> folds{};

    FoldTable()
    {
        for (int b = 0; b < 256; ++b) {
            QChar c = cp1252Char(uchar(b));
            QString base = c.decomposition().isEmpty() ? QString(c) : c.decomposition().left(1);
            base = base.toLower();
            if (c == u'œ' || c == u'Œ')
                base = QStringLiteral("oe");
            else if (c == u'æ' || c == u'Æ')
                base = QStringLiteral("ae");
            else if (c == u'ß')
                base = QStringLiteral("ss");
            Fold& f = folds[size_t(b)];
            for (QChar ch : std::as_const(base)) {
                const char16_t u = ch.unicode();
                if (((u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')) && f.size < 2)
                    f.chars[f.size++] = char(u);
            }
            f.digit = f.size > 0 && f.chars[0] >= '0' && f.chars[0] <= '9';
            f.endsWithDigit = f.digit && f.size == 1;
        }
    }
};

const FoldTable& foldTable()
{
    static const FoldTable table;
    return table;
}

// Writes the folded form of bytes from out (room for twice their size and
// two bytes); returns the end of what was written.
char* foldInto(QByteArrayView bytes, char* out, const Fold* table)
{
    char* const start = out;
    // Fields are padded with blanks: those never reach the table.
    qsizetype size = bytes.size();
    const char* data = bytes.data();
    static const char kBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    while (size >= 8 && std::memcmp(data + size - 8, kBlanks, 8) == 0)
        size -= 8;
    while (size > 0 && data[size - 1] == ' ')
        --size;
    // The last character written is kept at hand: digits on both sides of
    // blanks join.
    bool blank = false;
    bool lastDigit = false;
    for (qsizetype i = 0; i < size; ++i) {
        const Fold& f = table[uchar(data[i])];
        if (f.size == 0) {
            blank = out > start;
            continue;
        }
        if (blank && !(lastDigit && f.digit))
            *out++ = ' ';
        blank = false;
        // Both characters copied, the size kept: no branch per length.
        out[0] = f.chars[0];
        out[1] = f.chars[1];
        out += f.size;
        lastDigit = f.endsWithDigit;
    }
    return out;
}

// The folded fields of a record, each after its field number as a byte,
// written from out (room for kFieldCount bytes and twice the record);
// returns the end of what was written.
char* foldRecord(QByteArrayView record, char* out)
{
    static const std::array<int, CardRecord::kFieldCount> offsets = [] {
        std::array<int, CardRecord::kFieldCount> o{};
        for (int i = 0; i < CardRecord::kFieldCount; ++i)
            o[size_t(i)] = CardRecord::offset(i);
        return o;
    }();
    const Fold* table = foldTable().folds.data();
    for (int i = 1; i < CardRecord::kFieldCount; ++i) {
        const qsizetype offset = offsets[size_t(i)];
        if (offset >= record.size())
            break;
        const QByteArrayView field = record.sliced(offset, std::min<qsizetype>(CardRecord::kWidths[size_t(i)],
                                                                                record.size() - offset));
        char* const mark = out;
        *out++ = char(i + 1);
        out = foldInto(field, out, table);
        if (out == mark + 1)
            out = mark;  // an empty field leaves no mark
    }
    return out;
}

// The most a record's folded fields take.
constexpr qsizetype kMostFolded = CardRecord::kFieldCount + 2 * CardRecord::kSize + 2;

constexpr std::array<int, 4> kAlphabetical{3, 4, 6, 7};

}  // namespace

QByteArray searchFold(QByteArrayView cp1252Bytes)
{
    QByteArray out(cp1252Bytes.size() * 2 + 2, '\0');
    out.truncate(foldInto(cp1252Bytes, out.data(), foldTable().folds.data()) - out.data());
    return out;
}

QByteArrayList searchWords(const QString& typed)
{
    const QByteArray folded = searchFold(toCp1252(keepCp1252(typed)));
    QByteArrayList words;
    for (const QByteArray& w : folded.split(' '))
        if (!w.isEmpty())
            words.append(w);
    return words;
}

void SearchIndex::append(long long n, QByteArrayView record)
{
    Slot slot;
    slot.start = quint32(m_text.size());
    slot.active = isActiveRecord(record);
    // Room for the worst case, cut back after.
    m_text.resize(slot.start + std::max(kMostFolded, CardRecord::kFieldCount + 2 * record.size() + 2));
    char* const begin = m_text.data() + slot.start;
    const char* const end = foldRecord(record, begin);
    m_text.resize(slot.start + (end - begin));
    slot.length = quint16(end - begin);
    m_cards[size_t(n - 1)] = slot;
}

Status SearchIndex::load(const CardStore& store, long long count)
{
    count = std::max(0LL, count);
    m_text.clear();
    m_garbage = 0;
    m_rank.clear();
    m_cards.assign(size_t(count), Slot());
    // A large file is folded in two halves side by side, one per core, and
    // the second half's text joined after the first.
    const long long half = count >= kSplitCards ? count / 2 : count;
    SearchIndex second;
    std::future<Status> later;
    if (half < count) {
        second.m_cards.assign(size_t(count), Slot());
        later = std::async(std::launch::async, [&] { return second.readRange(store, half + 1, count); });
    }
    Status s = readRange(store, 1, half);
    if (later.valid()) {
        const Status t = later.get();
        // One copy of each half into a text of the exact size.
        const quint32 shift = quint32(m_text.size());
        QByteArray joined(m_text.size() + second.m_text.size(), Qt::Uninitialized);
        std::memcpy(joined.data(), m_text.constData(), size_t(m_text.size()));
        std::memcpy(joined.data() + shift, second.m_text.constData(), size_t(second.m_text.size()));
        m_text = std::move(joined);
        for (size_t i = size_t(half); i < size_t(count); ++i) {
            m_cards[i] = second.m_cards[i];
            m_cards[i].start += shift;
        }
        if (s && !t)
            s = t;
    } else {
        m_text.squeeze();
    }
    return s;
}

Status SearchIndex::readRange(const CardStore& store, long long first, long long last)
{
    // Folded fields hold a fifth of a record on average; the text grows by
    // halves when a file holds more, its end kept apart from its size.
    qsizetype used = m_text.size();
    m_text.resize(used + qsizetype(last - first + 1) * 128 + kMostFolded);
    const Status s = store.forEachRaw(first, last, [&](long long n, QByteArrayView record) {
        if (m_text.size() - used < kMostFolded)
            m_text.resize(m_text.size() + m_text.size() / 2 + kMostFolded);
        char* const begin = m_text.data() + used;
        const char* const end = foldRecord(record, begin);
        m_cards[size_t(n - 1)] = {quint32(used), quint16(end - begin), isActiveRecord(record)};
        used += end - begin;
    });
    m_text.resize(used);
    return s;
}

Result<std::vector<quint32>> SearchIndex::readOrder(const CardStore& store, long long count)
{
    count = std::max(0LL, count);
    // First-level keys of the alphabetical list's lines: texts of the code
    // page need no collator, so this runs off the main thread.
    struct Place {
        quint32 offset, length, card;
    };
    std::u16string keys;
    keys.reserve(size_t(count) * 64);
    std::vector<Place> places;
    places.reserve(size_t(count));
    const Status s = store.forEachRaw(count, [&](long long n, QByteArrayView record) {
        const size_t offset = keys.size();
        appendFrenchPrimaryKey(displayLine(record, kAlphabetical), keys);
        places.push_back({quint32(offset), quint32(keys.size() - offset), quint32(n)});
    });
    if (!s)
        return s.error();
    const char16_t* base = keys.data();
    std::sort(places.begin(), places.end(), [&](const Place& a, const Place& b) {
        const int c = std::u16string_view(base + a.offset, a.length).compare({base + b.offset, b.length});
        return c != 0 ? c < 0 : a.card < b.card;
    });
    std::vector<quint32> ranks(size_t(count), kUnranked);
    for (size_t r = 0; r < places.size(); ++r)
        ranks[places[r].card - 1] = quint32(r);
    return ranks;
}

void SearchIndex::setOrder(std::vector<quint32> ranks)
{
    m_rank = std::move(ranks);
    m_rank.resize(m_cards.size(), kUnranked);
}

void SearchIndex::unrank(long long n)
{
    if (n >= 1 && n <= (long long)m_rank.size())
        m_rank[size_t(n - 1)] = kUnranked;
}

void SearchIndex::set(long long n, QByteArrayView record)
{
    if (n < 1)
        return;
    if (n > size())
        resize(n);
    m_garbage += m_cards[size_t(n - 1)].length;
    append(n, record);
    unrank(n);
    // Replaced cards leave their old text behind: packed again when it is
    // half of the whole.
    if (m_garbage > m_text.size() / 2 && m_garbage > 4096) {
        QByteArray packed;
        packed.reserve(m_text.size() - m_garbage);
        for (Slot& slot : m_cards) {
            const quint32 start = quint32(packed.size());
            packed.append(m_text.constData() + slot.start, slot.length);
            slot.start = start;
        }
        m_text = packed;
        m_garbage = 0;
    }
}

void SearchIndex::resize(long long count)
{
    count = std::max(0LL, count);
    for (long long n = count + 1; n <= size(); ++n)
        m_garbage += m_cards[size_t(n - 1)].length;
    m_cards.resize(size_t(count));
    if (!m_rank.empty())
        m_rank.resize(size_t(count), kUnranked);
}

namespace {

// Whether w (not empty) occurs in text: its first byte looked for, then its
// second one before the rest is compared.
bool contains(std::string_view text, std::string_view w)
{
    if (w.size() > text.size())
        return false;
    const char* p = text.data();
    const char* const last = text.data() + (text.size() - w.size());
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, w[0], size_t(last - p) + 1));
        if (!p)
            return false;
        if (w.size() == 1 || (p[1] == w[1] && std::memcmp(p + 2, w.data() + 2, w.size() - 2) == 0))
            return true;
        ++p;
    }
    return false;
}

}  // namespace

std::vector<SearchHit> SearchIndex::find(const QByteArrayList& words) const
{
    std::vector<SearchHit> hits;
    if (words.isEmpty())
        return hits;
    // The longest word first: it rules out the most cards.
    QByteArrayList order = words;
    std::stable_sort(order.begin(), order.end(), [](const QByteArray& a, const QByteArray& b) {
        return a.size() > b.size();
    });
    std::vector<std::string_view> needles;
    for (const QByteArray& w : std::as_const(order))
        needles.emplace_back(w.constData(), size_t(w.size()));
    const std::string_view firstTyped(words.front().constData(), size_t(words.front().size()));
    const char* text = m_text.constData();
    const auto hit = [&](size_t i, std::vector<SearchHit>& out) {
        const Slot& slot = m_cards[i];
        const std::string_view card(text + slot.start, slot.length);
        if (!std::all_of(needles.begin(), needles.end(), [&](std::string_view w) { return contains(card, w); }))
            return;
        // The field of the first word typed: the last field mark before it.
        const size_t at = card.find(firstTyped);
        int field = 0;
        for (size_t p = at + 1; p-- > 0;)
            if (uchar(card[p]) <= CardRecord::kFieldCount) {
                field = uchar(card[p]);
                break;
            }
        out.push_back({(long long)i + 1, field, slot.active});
    };
    // The texts of cards read in one pass lie one after the other in card
    // order: the longest word is then looked for through the whole text,
    // which skips the cards without it at once. A card changed since lies
    // elsewhere: each card is then looked through in turn.
    bool inOrder = true;
    for (size_t i = 0, end = 0; i < m_cards.size() && inOrder; ++i)
        if (m_cards[i].length > 0) {
            inOrder = m_cards[i].start >= end;
            end = size_t(m_cards[i].start) + m_cards[i].length;
        }
    const std::string_view longest = needles.front();
    const auto scan = [&](size_t from, size_t to, std::vector<SearchHit>& out) {
        if (!inOrder) {
            for (size_t i = from; i < to; ++i)
                hit(i, out);
            return;
        }
        // From the first text of the range to the end of its last one.
        size_t first = from, last = to;
        while (first < to && m_cards[first].length == 0)
            ++first;
        while (last > first && m_cards[last - 1].length == 0)
            --last;
        if (first == last)
            return;
        const char* at = text + m_cards[first].start;
        const char* const end = text + m_cards[last - 1].start + m_cards[last - 1].length;
        size_t i = first;
        while (i < last && at < end) {
            const char* found = static_cast<const char*>(
                ::memmem(at, size_t(end - at), longest.data(), longest.size()));
            if (!found)
                break;
            const size_t offset = size_t(found - text);
            while (i < last && size_t(m_cards[i].start) + m_cards[i].length <= offset)
                ++i;
            if (i == last)
                break;
            const Slot& slot = m_cards[i];
            if (offset < slot.start || offset + longest.size() > size_t(slot.start) + slot.length) {
                at = found + 1;  // outside any card's text
                continue;
            }
            hit(i, out);
            at = text + slot.start + slot.length;
            ++i;
        }
    };
    // Many cards are looked through in two halves at once.
    const size_t count = m_cards.size();
    const size_t half = count >= size_t(kSplitCards) ? count / 2 : count;
    std::vector<SearchHit> later;
    std::future<void> second;
    if (half < count)
        second = std::async(std::launch::async, [&] { scan(half, count, later); });
    scan(0, half, hits);
    if (second.valid()) {
        second.get();
        hits.insert(hits.end(), later.begin(), later.end());
    }
    return hits;
}

std::string_view SearchIndex::folded(long long n) const
{
    if (n < 1 || n > size())
        return {};
    const Slot& slot = m_cards[size_t(n - 1)];
    return std::string_view(m_text.constData() + slot.start, slot.length);
}

quint32 SearchIndex::rank(long long n) const
{
    if (n < 1 || n > (long long)m_rank.size())
        return kUnranked;
    return m_rank[size_t(n - 1)];
}

size_t SearchIndex::memoryBytes() const
{
    return size_t(m_text.capacity()) + m_cards.capacity() * sizeof(Slot) + m_rank.capacity() * sizeof(quint32);
}

}  // namespace tb
