#include "base/collation.h"

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

// What each character of the Latin range becomes in a primary key.
const std::vector<QString>& primaryTable()
{
    static const std::vector<QString> table = [] {
        constexpr int kSize = 0x2100;  // Latin letters and general punctuation
        std::vector<QString> t(kSize);
        // Order of the blank and punctuation before digits and letters.
        const QString punctuation = QStringLiteral(" _-,;:!?.'\"()[]{}@*/\\&#%`^+<=>|~$");
        for (int c = 0; c < kSize; ++c) {
            const QChar ch(static_cast<char16_t>(c));
            QString out;
            if (ch.isLetter()) {
                QString d = QString(ch);
                while (true) {
                    const QString dec = d.front().decomposition();
                    if (dec.isEmpty() || dec.front() == d.front())
                        break;
                    d = dec.front();
                }
                out = d.toLower();
                if (c == 0xC6 || c == 0xE6)
                    out = QStringLiteral("ae");
                else if (c == 0x152 || c == 0x153)
                    out = QStringLiteral("oe");
                else if (c == 0xDF)
                    out = QStringLiteral("ss");
            } else if (ch.isDigit()) {
                out = QString(QChar(u'0' + ch.digitValue()));
            } else if (ch.isSpace()) {
                out = QString(QChar(1));
            } else {
                const int rank = int(punctuation.indexOf(ch));
                // Punctuation sorts below digits ('0' is 0x30), in the order above.
                out = QString(QChar(char16_t(rank >= 0 ? 2 + rank : 2 + int(punctuation.size()))));
            }
            t[size_t(c)] = out;
        }
        return t;
    }();
    return table;
}

}  // namespace

QString frenchPrimaryKey(const QString& text)
{
    const std::vector<QString>& table = primaryTable();
    QString key;
    key.reserve(text.size());
    for (QChar c : text) {
        const size_t u = c.unicode();
        if (u < table.size())
            key += table[u];
        else
            key += c;
    }
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
