#include "core/base/collation.h"

#include <QCollator>
#include <QLocale>

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

// What each character of the Latin range becomes in a primary key: one
// character, or two for the ligatures (0 marks those).
constexpr int kTableSize = 0x2100;  // Latin letters and general punctuation

const std::vector<char16_t>& primaryTable()
{
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> t(kTableSize);
        // Order of the blank and punctuation before digits and letters.
        const QString punctuation = QStringLiteral(" _-,;:!?.'\"()[]{}@*/\\&#%`^+<=>|~$");
        for (int c = 0; c < kTableSize; ++c) {
            const QChar ch(static_cast<char16_t>(c));
            char16_t out = 0;
            if (c == 0xC6 || c == 0xE6 || c == 0x152 || c == 0x153 || c == 0xDF) {
                out = 0;  // expanded by the caller
            } else if (ch.isLetter()) {
                QChar base = ch;
                while (true) {
                    const QString dec = base.decomposition();
                    if (dec.isEmpty() || dec.front() == base)
                        break;
                    base = dec.front();
                }
                out = base.toLower().unicode();
            } else if (ch.isDigit()) {
                out = char16_t(u'0' + ch.digitValue());
            } else if (ch.isSpace()) {
                out = 1;
            } else {
                const int rank = int(punctuation.indexOf(ch));
                // Punctuation sorts below digits ('0' is 0x30), in the order above.
                out = char16_t(rank >= 0 ? 2 + rank : 2 + int(punctuation.size()));
            }
            t[size_t(c)] = out;
        }
        return t;
    }();
    return table;
}

const char16_t* expansion(char16_t c)
{
    switch (c) {
    case 0xC6:
    case 0xE6:
        return u"ae";
    case 0x152:
    case 0x153:
        return u"oe";
    default:
        return u"ss";
    }
}

}  // namespace

QString frenchPrimaryKey(const QString& text)
{
    const std::vector<char16_t>& table = primaryTable();
    QString key(text.size() * 2, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(key.data());
    char16_t* const begin = out;
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c >= kTableSize) {
            *out++ = c;
        } else if (const char16_t mapped = table[c]) {
            *out++ = mapped;
        } else {
            const char16_t* two = expansion(c);
            *out++ = two[0];
            *out++ = two[1];
        }
    }
    key.truncate(out - begin);
    return key;
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
