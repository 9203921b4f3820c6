#include "core/base/collation.h"

#include "core/base/codepage.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <string>
#include <vector>

namespace tb {
namespace {

// One collator for the whole program (QCollator is not thread-safe; Tabulon
// runs on one thread).
QCollator& collator()
{
    static QCollator instance = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);  // " 12" sorts before " 2", as text
        c.setIgnorePunctuation(false);
        return c;
    }();
    return instance;
}

// The collator gives U+FFFE the lowest first-level weight and U+FFFF the
// highest, so appending one of them tells how two texts compare at that
// level alone, accents and case aside.
const QChar kLowest(char16_t(0xFFFE));
const QChar kHighest(char16_t(0xFFFF));

// a before b at the first level (a prefix comes first).
bool levelOneBefore(const QString& a, const QString& b)
{
    return collator().compare(a + kLowest, b) < 0;
}

bool levelOneEqual(const QString& a, const QString& b)
{
    return !levelOneBefore(a, b) && !levelOneBefore(b, a);
}

// a's first level is the start (or all) of b's.
bool levelOneStarts(const QString& a, const QString& b)
{
    return collator().compare(a + kHighest, b) > 0 && !levelOneBefore(b, a);
}

// Key units: 1 stands below every ranked weight; 0xFFFF closes a key whose
// next weight falls between two ranked ones, so that the collator settles
// every text sharing the key up to there.
constexpr char16_t kBelowRanked = 1;
constexpr char16_t kFirstRank = 2;
constexpr char16_t kUnranked = 0xFFFF;

// What each character adds to a primary key. The code page's characters are
// ranked by the collator itself, so the keys cannot disagree with it; any
// other character is placed among them at first sight.
class PrimaryTable
{
public:
    PrimaryTable()
    {
        // The code page, and the fraction slash its "½" expands to.
        QStringList chars = {QStringLiteral("\u2044")};
        for (int b = 0; b < 256; ++b) {
            const QString one(cp1252Char(uchar(b)));
            if (levelOneBefore(QString(), one))  // else ignored by the collator
                chars.append(one);
        }
        std::stable_sort(chars.begin(), chars.end(), levelOneBefore);
        // One rank per first-level weight. A character whose weights merely
        // start with the previous rank's ("œ" after "o") expands to several.
        for (const QString& c : std::as_const(chars)) {
            if (!m_ranks.isEmpty() && levelOneEqual(m_ranks.back(), c))
                continue;
            if (m_ranks.isEmpty() || !levelOneStarts(m_ranks.back(), c))
                m_ranks.append(c);
        }
        m_bmp.assign(0x10000, kNotYet);
        for (int b = 0; b < 256; ++b)
            entry(cp1252Char(uchar(b)).unicode());
    }

    // The units of one character: an offset and a length into m_units.
    QStringView unitsOf(char32_t c)
    {
        const quint32 e = entry(c);
        return QStringView(m_units.data() + (e >> 8), qsizetype(e & 0xFF));
    }

private:
    static constexpr quint32 kNotYet = 0xFFFFFFFF;

    quint32 entry(char32_t c)
    {
        quint32* slot = nullptr;
        if (c < 0x10000) {
            slot = &m_bmp[c];
        } else {
            auto it = m_other.find(c);
            if (it == m_other.end())
                it = m_other.insert(c, kNotYet);
            slot = &it.value();
        }
        if (*slot == kNotYet) {
            const std::u16string units = weightsOf(QString::fromUcs4(&c, 1));
            *slot = quint32(m_units.size()) << 8 | quint32(units.size());
            m_units.insert(m_units.end(), units.begin(), units.end());
        }
        return *slot;
    }

    // The ranks of text's first-level weights, one after the other; an
    // unranked weight ends the list.
    std::u16string weightsOf(const QString& text) const
    {
        std::u16string out;
        QString done;
        while (!levelOneEqual(done, text)) {
            if (out.size() >= 32) {  // no character of a card expands this far
                out += kUnranked;
                return out;
            }
            // The last rank r with done + r not after text.
            const auto next = std::partition_point(m_ranks.begin(), m_ranks.end(), [&](const QString& r) {
                return !levelOneBefore(text, done + r);
            });
            if (next == m_ranks.begin()) {
                out += kBelowRanked;
                out += kUnranked;
                return out;
            }
            const QString& rank = *(next - 1);
            out += char16_t(kFirstRank + (next - 1 - m_ranks.begin()));
            if (!levelOneStarts(done + rank, text)) {
                out += kUnranked;
                return out;
            }
            done += rank;
        }
        return out;
    }

    QStringList m_ranks;  // one character per weight, in the collator's order
    std::vector<quint32> m_bmp;
    QHash<char32_t, quint32> m_other;
    std::vector<char16_t> m_units;
};

PrimaryTable& primaryTable()
{
    static PrimaryTable table;
    return table;
}

}  // namespace

bool appendFrenchPrimaryKey(QStringView text, std::u16string& key)
{
    PrimaryTable& table = primaryTable();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        const QStringView units = table.unitsOf(c);
        key.append(reinterpret_cast<const char16_t*>(units.data()), size_t(units.size()));
        if (!units.isEmpty() && units.back() == QChar(kUnranked))
            return false;
    }
    return true;
}

QString frenchPrimaryKey(const QString& text)
{
    std::u16string key;
    key.reserve(size_t(text.size()) + 4);
    appendFrenchPrimaryKey(text, key);
    return QString::fromUtf16(key.data(), qsizetype(key.size()));
}

QCollatorSortKey frenchKey(const QString& text)
{
    return collator().sortKey(text);
}

int frenchCompare(const QString& a, const QString& b)
{
    return collator().compare(a, b);
}

}  // namespace tb
