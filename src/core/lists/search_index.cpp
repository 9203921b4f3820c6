#include "core/lists/search_index.h"

#include "core/base/codepage.h"
#include "core/base/processor.h"
#include "core/cards/record_bytes.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"
#include "core/lists/display_line.h"
#include "core/base/collation.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <future>
#include <string>
#include <string_view>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tb {
namespace {

// One bit per letter and digit a folded text holds.
constexpr quint64 letterBit(char c)
{
    return c >= 'a' && c <= 'z' ? quint64(1) << (c - 'a') : c >= '0' && c <= '9' ? quint64(1) << (26 + c - '0') : 0;
}

quint64 lettersOf(QByteArrayView word)
{
    quint64 bits = 0;
    for (char c : word)
        bits |= letterBit(c);
    return bits;
}

// Letter pairs: 26 by 26 rows; kNoPair for two characters side by side that
// are not both letters.
constexpr size_t kPairs = 26 * 26;
constexpr size_t kNoPair = kPairs;

struct PairTable {
    std::array<quint8, 256> letter{};  // 26 for any other byte
    std::array<quint16, 27 * 27> row{};
    PairTable()
    {
        for (int b = 0; b < 256; ++b)
            letter[size_t(b)] = quint8(b >= 'a' && b <= 'z' ? b - 'a' : 26);
        for (size_t x = 0; x < 27; ++x)
            for (size_t y = 0; y < 27; ++y)
                row[x * 27 + y] = quint16(x < 26 && y < 26 ? x * 26 + y : kNoPair);
    }
};

// Card n's place in a row of bits: its word and its bit there.
struct CardBit {
    size_t word;
    quint64 bit;
};

constexpr CardBit cardBit(long long n)
{
    return {size_t(n - 1) / 64, quint64(1) << (size_t(n - 1) % 64)};
}

// Calls pair(row) for each two characters side by side in text, row being
// kNoPair unless both are letters: no branch per character.
template <typename Pair>
void forEachPair(std::string_view text, Pair pair)
{
    static const PairTable table;
    size_t previous = 26;
    for (char c : text) {
        const size_t l = table.letter[uchar(c)];
        pair(size_t(table.row[previous * 27 + l]));
        previous = l;
    }
}

// What each byte of the code page folds to: up to two characters, none for
// a blank; whether the first is a digit, and whether the last written is.
struct Fold {
    quint64 letters = 0;  // letterBit of each character
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
            for (int k = 0; k < f.size; ++k)
                f.letters |= letterBit(f.chars[k]);
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
// two bytes), adding the letters written to letters; returns the end of what
// was written.
char* foldInto(QByteArrayView bytes, char* out, const Fold* table, quint64& letters)
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
        letters |= f.letters;
        lastDigit = f.endsWithDigit;
    }
    return out;
}

// The folded fields of a record, each after its field number as a byte,
// written from out (room for kFieldCount bytes and twice the record);
// returns the end of what was written.
char* foldRecordBytes(QByteArrayView record, char* out, quint64& letters)
{
    const Fold* table = foldTable().folds.data();
    for (int i = 1; i < CardRecord::kFieldCount; ++i) {
        const qsizetype offset = CardRecord::kOffsets[size_t(i)];
        if (offset >= record.size())
            break;
        const QByteArrayView field = record.sliced(offset, std::min<qsizetype>(CardRecord::kWidths[size_t(i)],
                                                                                record.size() - offset));
        char* const mark = out;
        *out++ = char(i + 1);
        out = foldInto(field, out, table, letters);
        if (out == mark + 1)
            out = mark;  // an empty field leaves no mark
    }
    return out;
}

#if defined(__x86_64__)
// Bits offset to offset + width (at most 63) of a row of bits, the row
// holding one more word than the last one read.
inline quint64 bitWindow(const quint64* words, int offset, int width)
{
    const int shift = offset % 64;
    quint64 w = words[offset / 64] >> shift;
    if (shift)
        w |= words[offset / 64 + 1] << (64 - shift);
    return w & ((quint64(1) << width) - 1);
}

#define TB_WIDE_FOLD __attribute__((target("avx512f,avx512bw,avx512vbmi2,popcnt")))

// Field i of the wide fold below, from the bits of what each byte is and the
// bytes folded in place; its offset and width are constants, and so are the
// shifts that take its bits.
template <int i>
TB_WIDE_FOLD inline __attribute__((always_inline)) char* foldField(const quint64* kept, const quint64* digits,
                                                                  const char* folded, char* out)
{
    constexpr int offset = CardRecord::kOffsets[size_t(i)];
    constexpr int width = CardRecord::kWidths[size_t(i)];
    const quint64 h = bitWindow(kept, offset, width);
    const quint64 d = bitWindow(digits, offset, width);
    // The blanks between the first and last characters kept; of each run
    // of them its last stays, unless digits stand on both sides (the
    // carry of adding a run's first bit clears the runs after a digit).
    const int first = __builtin_ctzll(h | (quint64(1) << 63));
    const int last = 63 - __builtin_clzll(h | 1);
    const quint64 blanks = ~h & ((quint64(2) << last) - 1) & ~((quint64(1) << first) - 1);
    const quint64 runEnds = blanks & (h >> 1);
    const quint64 afterDigit = blanks & ~(blanks + (blanks & (d << 1)));
    const quint64 keep = h | (runEnds & ~(afterDigit & (d >> 1)));
    char* const mark = out;
    *out++ = char(i + 1);
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, _mm512_loadu_si512(folded + offset)));
    out += __builtin_popcountll(keep);
    return h ? out : mark;  // an empty field leaves no mark
}

template <int... i>
TB_WIDE_FOLD inline __attribute__((always_inline)) char* foldFields(std::integer_sequence<int, i...>,
                                                                   const quint64* kept, const quint64* digits,
                                                                   const char* folded, char* out)
{
    ((out = foldField<i + 1>(kept, digits, folded, out)), ...);
    return out;
}

// The letterBit of n folded bytes at p, 64 at a time: each byte's bit number
// (255, shifted out, for what is neither letter nor digit) shifted into its
// 8-byte lane, one byte of the lanes after the other.
TB_WIDE_FOLD inline quint64 lettersWide(const char* p, qsizetype n)
{
    const __m512i one = _mm512_set1_epi64(1);
    const __m512i low = _mm512_set1_epi64(0xFF);
    __m512i bits = _mm512_setzero_si512();
    for (qsizetype at = 0; at < n; at += 64) {
        const __mmask64 inside = n - at >= 64 ? ~__mmask64(0) : (__mmask64(1) << (n - at)) - 1;
        const __m512i c = _mm512_maskz_loadu_epi8(inside, p + at);
        const __m512i letter = _mm512_sub_epi8(c, _mm512_set1_epi8('a'));
        const __m512i digit = _mm512_sub_epi8(c, _mm512_set1_epi8('0'));
        __m512i number = _mm512_set1_epi8(char(0xFF));
        number = _mm512_mask_mov_epi8(number, _mm512_cmplt_epu8_mask(letter, _mm512_set1_epi8(26)), letter);
        number = _mm512_mask_mov_epi8(number, _mm512_cmplt_epu8_mask(digit, _mm512_set1_epi8(10)),
                                      _mm512_add_epi8(digit, _mm512_set1_epi8(26)));
        for (int k = 0; k < 8; ++k)
            bits = _mm512_or_si512(bits, _mm512_maskz_sllv_epi64(0xFF, one,
                                                                 _mm512_and_si512(_mm512_maskz_srli_epi64(0xFF, number, 8 * k), low)));
    }
    alignas(64) quint64 lanes[8];
    _mm512_store_si512(lanes, bits);
    return lanes[0] | lanes[1] | lanes[2] | lanes[3] | lanes[4] | lanes[5] | lanes[6] | lanes[7];
}

// The same folding, 64 bytes at a time: each byte classed at once as a
// letter, digit or blank; the bytes above ASCII (few) through the table;
// each field then packed in one instruction by the bits of what it keeps.
// No branch per byte or per word: this is the first pass's whole cost.
TB_WIDE_FOLD char* foldRecordWide(QByteArrayView record, char* out, quint64& letters)
{
    if (record.size() != CardRecord::kSize)
        return foldRecordBytes(record, out, letters);
    constexpr int kWords = (CardRecord::kSize + 63) / 64;
    static_assert(*std::max_element(CardRecord::kWidths.begin(), CardRecord::kWidths.end()) < 64);
    const char* const raw = record.data();
    alignas(64) char folded[kWords * 64 + 64];
    quint64 kept[kWords + 1], digits[kWords + 1], high[kWords];
    kept[kWords] = digits[kWords] = 0;
    const __m512i blank = _mm512_set1_epi8(' ');
    const __m512i caseBit = _mm512_set1_epi8(0x20);
    _mm512_store_si512(folded + kWords * 64, blank);  // read with the last field, never kept
    for (int w = 0; w < kWords; ++w) {
        const int at = 64 * w;
        const __mmask64 inside = at + 64 <= CardRecord::kSize ? ~__mmask64(0)
                                                              : (__mmask64(1) << (CardRecord::kSize - at)) - 1;
        const __m512i c = _mm512_maskz_loadu_epi8(inside, raw + at);
        const __mmask64 letter = _mm512_cmplt_epu8_mask(
            _mm512_sub_epi8(_mm512_or_si512(c, caseBit), _mm512_set1_epi8('a')), _mm512_set1_epi8(26));
        const __mmask64 digit = _mm512_cmplt_epu8_mask(_mm512_sub_epi8(c, _mm512_set1_epi8('0')), _mm512_set1_epi8(10));
        const __m512i lower = _mm512_or_si512(c, _mm512_maskz_mov_epi8(letter, caseBit));
        _mm512_store_si512(folded + at, _mm512_mask_blend_epi8(letter | digit, blank, lower));
        kept[w] = letter | digit;
        digits[w] = digit;
        high[w] = _mm512_movepi8_mask(c);
    }
    const Fold* table = foldTable().folds.data();
    for (int w = 0; w < kWords; ++w)
        for (quint64 m = high[w]; m; m &= m - 1) {
            const int at = 64 * w + __builtin_ctzll(m);
            const Fold& f = table[uchar(raw[at])];
            if (f.size == 2)
                return foldRecordBytes(record, out, letters);  // a ligature: rare
            if (f.size == 1) {
                kept[w] |= quint64(1) << (at % 64);
                digits[w] |= quint64(f.digit) << (at % 64);
                folded[at] = f.chars[0];
            }
        }
    char* const begin = out;
    out = foldFields(std::make_integer_sequence<int, CardRecord::kFieldCount - 1>{}, kept, digits, folded, out);
    letters |= lettersWide(begin, out - begin);
    return out;
}

// Chosen once, for the processor the program runs on.
char* (*const foldRecord)(QByteArrayView, char*, quint64&) = processor().avx512Bytes ? foldRecordWide
                                                                                       : foldRecordBytes;
#else
char* foldRecord(QByteArrayView record, char* out, quint64& letters)
{
    return foldRecordBytes(record, out, letters);
}
#endif

// The most a record's folded fields take.
constexpr qsizetype kMostFolded = CardRecord::kFieldCount + 2 * CardRecord::kSize + 2;

constexpr std::array<int, 4> kAlphabetical{3, 4, 6, 7};

}  // namespace

QByteArray searchFold(QByteArrayView cp1252Bytes)
{
    QByteArray out(cp1252Bytes.size() * 2 + 2, '\0');
    quint64 letters = 0;
    out.truncate(foldInto(cp1252Bytes, out.data(), foldTable().folds.data(), letters) - out.data());
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

void SearchIndex::changed()
{
    // Unique across indexes: an index read again never takes an old value.
    static std::atomic<quint64> last{0};
    m_generation = ++last;
}

void SearchIndex::append(long long n, QByteArrayView record)
{
    QByteArray& text = m_text[0];
    Slot slot;
    slot.start = quint32(text.size());
    slot.active = isActiveRecord(record);
    // Room for the worst case, cut back after.
    text.resize(slot.start + std::max(kMostFolded, CardRecord::kFieldCount + 2 * record.size() + 2));
    char* const begin = text.data() + slot.start;
    quint64 letters = 0;
    const char* const end = foldRecord(record, begin, letters);
    text.resize(slot.start + (end - begin));
    slot.length = quint16(end - begin);
    m_cards[size_t(n - 1)] = slot;
    m_letters[size_t(n - 1)] = letters;
    markPairs(n, folded(n), true);
}

void SearchIndex::markPairs(long long n, std::string_view text, bool on)
{
    if (!m_paired)
        return;
    const auto [word, bit] = cardBit(n);
    quint64* const column = m_pairs.data() + word;
    forEachPair(text, [&](size_t row) {
        if (row == kNoPair)
            return;
        if (on)
            column[row * m_pairWords] |= bit;
        else
            column[row * m_pairWords] &= ~bit;
    });
}

void SearchIndex::reservePairs(long long count)
{
    const size_t words = (size_t(std::max(0LL, count)) + 63) / 64;
    if (!m_paired || words <= m_pairWords)
        return;
    // Grown by halves: cards are added one by one.
    const size_t grown = std::max(words, m_pairWords + m_pairWords / 2);
    std::vector<quint64> pairs(kPairs * grown, 0);
    for (size_t row = 0; row < kPairs && m_pairWords > 0; ++row)
        std::copy_n(m_pairs.begin() + ptrdiff_t(row * m_pairWords), m_pairWords, pairs.begin() + ptrdiff_t(row * grown));
    m_pairs = std::move(pairs);
    m_pairWords = grown;
}

Status SearchIndex::load(const CardStore& store, long long count)
{
    count = std::max(0LL, count);
    changed();
    m_text = {};
    m_garbage = 0;
    m_rank.clear();
    m_byPlace.clear();
    m_unranked.clear();
    m_cards.assign(size_t(count), Slot());
    m_letters.assign(size_t(count), 0);
    m_pairs.clear();
    m_pairWords = 0;
    m_paired = false;
    // A large file is folded in two halves side by side, one per core, each
    // into its own text.
    const long long half = count >= kSplitCards ? count / 2 : count;
    std::future<Status> later;
    if (half < count)
        later = std::async(std::launch::async, [&] { return readRange(store, half + 1, count, 1); });
    Status s = readRange(store, 1, half, 0);
    if (later.valid()) {
        const Status t = later.get();
        if (s && !t)
            s = t;
    }
    return s;
}

Status SearchIndex::readRange(const CardStore& store, long long first, long long last, int part)
{
    // Folded fields hold a fifth of a record on average; the text grows by
    // halves when a file holds more, its end kept apart from its size.
    QByteArray& text = m_text[size_t(part)];
    qsizetype used = text.size();
    text.resize(used + qsizetype(last - first + 1) * 128 + kMostFolded);
    const Status s = store.forEachRaw(first, last, [&](long long n, QByteArrayView record) {
        if (text.size() - used < kMostFolded)
            text.resize(text.size() + text.size() / 2 + kMostFolded);
        char* const begin = text.data() + used;
        quint64 letters = 0;
        const char* const end = foldRecord(record, begin, letters);
        m_cards[size_t(n - 1)] = {quint32(used), quint16(end - begin), quint8(part), isActiveRecord(record)};
        m_letters[size_t(n - 1)] = letters;
        used += end - begin;
    });
    text.resize(used);
    text.squeeze();
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

Result<std::vector<quint64>> SearchIndex::readPairs(const CardStore& store, long long count)
{
    count = std::max(0LL, count);
    const size_t words = (size_t(count) + 63) / 64;
    std::vector<quint64> rows(kPairs * words, 0);
    std::string folded(size_t(kMostFolded), '\0');
    // The pairs of 64 cards at a time gathered here, then added to their
    // rows: one write per row rather than one per pair.
    std::array<quint64, kPairs + 1> block{};
    size_t blockWord = 0;
    const auto flush = [&] {
        for (size_t row = 0; row < kPairs; ++row)
            if (block[row]) {
                rows[row * words + blockWord] |= block[row];
                block[row] = 0;
            }
    };
    const Status s = store.forEachRaw(count, [&](long long n, QByteArrayView record) {
        const auto [word, bit] = cardBit(n);
        if (word != blockWord) {
            flush();
            blockWord = word;
        }
        quint64 letters = 0;
        const char* const end = foldRecord(record, folded.data(), letters);
        forEachPair(std::string_view(folded.data(), size_t(end - folded.data())), [&](size_t row) { block[row] |= bit; });
    });
    if (!s)
        return s.error();
    if (words > 0)
        flush();
    return rows;
}

void SearchIndex::setPairs(std::vector<quint64> rows, long long count, const std::vector<long long>& changed)
{
    count = std::max(0LL, count);
    if (rows.size() != kPairs * ((size_t(count) + 63) / 64))
        return;
    m_pairs = std::move(rows);
    m_pairWords = m_pairs.size() / kPairs;
    m_paired = true;
    // Cards removed, added or changed since they were read: their columns
    // cleared, then marked from the texts held now.
    reservePairs(size());
    const auto mark = [&](long long n) {
        const auto [word, bit] = cardBit(n);
        if (n < 1 || word >= m_pairWords)
            return;
        quint64* const column = m_pairs.data() + word;
        for (size_t row = 0; row < kPairs; ++row)
            column[row * m_pairWords] &= ~bit;
        if (n <= size())
            markPairs(n, folded(n), true);
    };
    for (long long n : changed)
        mark(n);
    for (long long n = std::min(count, size()) + 1; n <= std::max(count, size()); ++n)
        mark(n);
}

void SearchIndex::setOrder(std::vector<quint32> ranks)
{
    m_byPlace.assign(ranks.size(), 0);
    for (size_t i = 0; i < ranks.size(); ++i)
        if (ranks[i] < ranks.size())
            m_byPlace[ranks[i]] = quint32(i + 1);
    m_rank = std::move(ranks);
    m_rank.resize(m_cards.size(), kUnranked);
    m_unranked.clear();
    for (size_t i = 0; i < m_rank.size(); ++i)
        if (m_rank[i] == kUnranked)
            m_unranked.push_back(quint32(i + 1));
}

void SearchIndex::unrank(long long n)
{
    if (n >= 1 && n <= (long long)m_rank.size() && m_rank[size_t(n - 1)] != kUnranked) {
        m_rank[size_t(n - 1)] = kUnranked;
        m_unranked.push_back(quint32(n));
    }
}

void SearchIndex::set(long long n, QByteArrayView record)
{
    if (n < 1)
        return;
    if (n > size())
        resize(n);
    changed();
    m_garbage += m_cards[size_t(n - 1)].length;
    markPairs(n, folded(n), false);
    append(n, record);
    unrank(n);
    // Replaced cards leave their old text behind: packed again when it is
    // half of the whole.
    const qsizetype whole = m_text[0].size() + m_text[1].size();
    if (m_garbage > whole / 2 && m_garbage > 4096) {
        QByteArray packed;
        packed.reserve(whole - m_garbage);
        for (Slot& slot : m_cards) {
            const quint32 start = quint32(packed.size());
            packed.append(m_text[slot.part].constData() + slot.start, slot.length);
            slot.start = start;
            slot.part = 0;
        }
        m_text = {packed, QByteArray()};
        m_garbage = 0;
    }
}

void SearchIndex::resize(long long count)
{
    count = std::max(0LL, count);
    if (count == size())
        return;
    changed();
    for (long long n = count + 1; n <= size(); ++n) {
        m_garbage += m_cards[size_t(n - 1)].length;
        markPairs(n, folded(n), false);
    }
    reservePairs(count);
    m_cards.resize(size_t(count));
    m_letters.resize(size_t(count), 0);
    if (!m_rank.empty()) {
        for (long long n = (long long)m_rank.size() + 1; n <= count; ++n)
            m_unranked.push_back(quint32(n));
        m_rank.resize(size_t(count), kUnranked);
    }
}

namespace {

// Whether w (two bytes or more) occurs in text: its first and last bytes
// compared many places at once, the rest only where both agree. The last
// block overlaps the one before it rather than leaving a tail to compare
// byte by byte.
inline __attribute__((always_inline)) bool restAt(const char* s, std::string_view w)
{
    // Typed words are short: compared in place rather than through a call.
    for (size_t k = 1; k + 1 < w.size(); ++k)
        if (s[k] != w[k])
            return false;
    return true;
}

bool containsBytes(std::string_view text, std::string_view w)
{
    const size_t m = w.size();
    const char* s = text.data();
    for (size_t i = 0; i + m <= text.size(); ++i)
        if (s[i] == w[0] && s[i + m - 1] == w[m - 1] && restAt(s + i, w))
            return true;
    return false;
}

// Each block's places where both bytes agree, as bits, tried until one holds;
// inlined into each processor's own version.
template <size_t kWidth, typename Bits>
inline __attribute__((always_inline)) bool containsByBlocks(std::string_view text, std::string_view w, Bits bitsAt)
{
    const size_t n = text.size(), m = w.size();
    if (n < m - 1 + kWidth)
        return containsBytes(text, w);
    const char* s = text.data();
    const size_t end = n - (m - 1) - kWidth;  // the last block's place
    for (size_t i = 0;; i += kWidth) {
        const size_t at = std::min(i, end);
        for (unsigned bits = bitsAt(s + at); bits; bits &= bits - 1)
            if (restAt(s + at + size_t(__builtin_ctz(bits)), w))
                return true;
        if (at == end)
            return false;
    }
}

#if defined(__x86_64__)
bool containsSse2(std::string_view text, std::string_view w)
{
    const __m128i first = _mm_set1_epi8(w[0]), last = _mm_set1_epi8(w[w.size() - 1]);
    const size_t shift = w.size() - 1;
    return containsByBlocks<16>(text, w, [&](const char* p) {
        const __m128i a = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), first);
        const __m128i b = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + shift)), last);
        return unsigned(_mm_movemask_epi8(_mm_and_si128(a, b)));
    });
}

__attribute__((target("avx2"))) bool containsAvx2(std::string_view text, std::string_view w)
{
    const __m256i first = _mm256_set1_epi8(w[0]), last = _mm256_set1_epi8(w[w.size() - 1]);
    const size_t shift = w.size() - 1;
    return containsByBlocks<32>(text, w, [&](const char* p) __attribute__((target("avx2"))) {
        const __m256i a = _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), first);
        const __m256i b = _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + shift)), last);
        return unsigned(_mm256_movemask_epi8(_mm256_and_si256(a, b)));
    });
}

// Chosen once, for the processor the program runs on.
bool (*const contains)(std::string_view, std::string_view) = processor().avx2 ? containsAvx2 : containsSse2;
#else
bool contains(std::string_view text, std::string_view w)
{
    return containsBytes(text, w);
}
#endif

}  // namespace

std::vector<quint32> SearchIndex::match(const QByteArrayList& words, const std::vector<quint32>* among) const
{
    std::vector<quint32> found;
    if (words.isEmpty())
        return found;
    // A card's letters and the rows of the words' letter pairs rule most
    // cards out, and answer words of one letter or two alone; the longest
    // word is looked for first: it rules out the most.
    quint64 need = 0;
    std::vector<size_t> rows;
    std::vector<std::string_view> needles;
    for (const QByteArray& w : words) {
        const std::string_view word(w.constData(), size_t(w.size()));
        need |= lettersOf(w);
        size_t pairs = 0;
        if (m_paired)
            forEachPair(word, [&](size_t row) {
                if (row != kNoPair) {
                    rows.push_back(row);
                    ++pairs;
                }
            });
        const bool pairAlone = word.size() == 2 && pairs == 1;
        if (word.size() > 1 && !pairAlone)
            needles.push_back(word);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::stable_sort(needles.begin(), needles.end(), [](std::string_view a, std::string_view b) {
        return a.size() > b.size();
    });
    // Cards 64 * word to 64 * word + 63 holding every pair, as bits.
    const auto inRows = [&](size_t word) {
        quint64 bits = ~quint64(0);
        for (size_t row : rows)
            bits &= m_pairs[row * m_pairWords + word];
        return bits;
    };
    const auto holds = [&](size_t i) {
        if ((m_letters[i] & need) != need)
            return false;
        const Slot& slot = m_cards[i];
        const std::string_view card(m_text[slot.part].constData() + slot.start, slot.length);
        return std::all_of(needles.begin(), needles.end(), [&](std::string_view w) { return contains(card, w); });
    };
    // The cards among which to look, as bits by words of 64 cards; each half
    // fills its own words.
    const size_t size = m_cards.size();
    const size_t words64 = (size + 63) / 64;
    std::vector<quint64> amongBits(among ? words64 : 0, 0);
    const auto scan = [&](size_t fromWord, size_t toWord, std::vector<quint32>& out) {
        if (among) {
            auto k = std::lower_bound(among->begin(), among->end(), quint32(fromWord * 64 + 1));
            for (; k != among->end() && *k <= toWord * 64; ++k)
                if (*k >= 1 && *k <= size)
                    amongBits[cardBit(*k).word] |= cardBit(*k).bit;
        }
        for (size_t word = fromWord; word < toWord; ++word) {
            quint64 bits = inRows(word);
            if (among)
                bits &= amongBits[word];
            if (size - word * 64 < 64)
                bits &= (quint64(1) << (size - word * 64)) - 1;
            for (; bits; bits &= bits - 1) {
                const size_t i = word * 64 + size_t(__builtin_ctzll(bits));
                if (holds(i))
                    out.push_back(quint32(i + 1));
            }
        }
    };
    // Many cards are looked through in two halves at once.
    const size_t count = among ? among->size() : size;
    const size_t half = count >= size_t(kSplitCards) ? words64 / 2 : words64;
    std::vector<quint32> later;
    std::future<void> second;
    if (half < words64)
        second = std::async(std::launch::async, [&] { scan(half, words64, later); });
    scan(0, half, found);
    if (second.valid()) {
        second.get();
        found.insert(found.end(), later.begin(), later.end());
    }
    return found;
}

int SearchIndex::fieldOf(long long n, QByteArrayView word) const
{
    const std::string_view card = folded(n);
    const size_t at = card.find(std::string_view(word.data(), size_t(word.size())));
    if (at == std::string_view::npos)
        return 0;
    // The last field mark before it.
    for (size_t p = at + 1; p-- > 0;)
        if (uchar(card[p]) <= CardRecord::kFieldCount)
            return uchar(card[p]);
    return 0;
}

std::string_view SearchIndex::folded(long long n) const
{
    if (n < 1 || n > size())
        return {};
    const Slot& slot = m_cards[size_t(n - 1)];
    return std::string_view(m_text[slot.part].constData() + slot.start, slot.length);
}

quint32 SearchIndex::rank(long long n) const
{
    if (n < 1 || n > (long long)m_rank.size())
        return kUnranked;
    return m_rank[size_t(n - 1)];
}

size_t SearchIndex::memoryBytes() const
{
    return size_t(m_text[0].capacity() + m_text[1].capacity()) + m_cards.capacity() * sizeof(Slot)
           + (m_letters.capacity() + m_pairs.capacity()) * sizeof(quint64)
           + (m_rank.capacity() + m_byPlace.capacity() + m_unranked.capacity()) * sizeof(quint32);
}

}  // namespace tb
