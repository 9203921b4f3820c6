#include "core/tools/amount_words.h"

#include "core/base/masks.h"

#include <cmath>

namespace tb {

namespace {

const char* const kUnits[] = {"zero", "un", "deux", "trois", "quatre", "cinq", "six", "sept", "huit", "neuf"};
const char* const kTeens[] = {"dix",      "onze",   "douze", "treize",   "quatorze",
                              "quinze",   "seize",  "dix-sept", "dix-huit", "dix-neuf"};
const char* const kTens[] = {"",          "dix",      "vingt",        "trente",       "quarante",
                             "cinquante", "soixante", "soixante-dix", "quatre-vingt", "quatre-vingt-dix"};
const char* const kGroups[] = {"", "mille", "million(s)", "millard(s)", "mille"};

constexpr int kMostDigits = 15;

QString errorText()
{
    return QStringLiteral("Une Erreur !");
}

QString word(const char* w)
{
    return QString::fromUtf8(w) + u' ';
}

}  // namespace

QString SomLettr(QStringView text)
{
    if (text.isEmpty())
        return errorText();
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return errorText();
    qsizetype first = 0;
    while (first < text.size() - 1 && text[first] == u'0')
        ++first;
    const QStringView s = text.mid(first);
    const int n = int(s.size());
    if (n > kMostDigits)
        return errorText();

    // Digit at position k from the right (1 = units), -1 past the left end.
    auto digit = [&](int k) { return k <= n ? s[n - k].digitValue() : -1; };
    QString acc;
    for (int k = 1; k <= n; ++k) {
        const int d = digit(k);
        switch (k % 3) {
        case 1: {
            const int left = digit(k + 1);
            QString w;
            bool emptyGroup = false;
            const bool tensSaid = left == 1 || left == 7 || left == 9;
            if (tensSaid) {
                // 1x, 7x and 9x are said as ten-to-nineteen after their tens.
                if (left == 7)
                    w = word(kTens[6]);
                else if (left == 9)
                    w = word(kTens[8]);
                w += word(kTeens[d]);
            } else if (d == 0) {
                emptyGroup = !(left > 0 || digit(k + 2) > 0);
            } else {
                w = word(kUnits[d]);
            }
            if (!emptyGroup && k > 1)
                w += word(kGroups[(k - 1) / 3]);
            else if (emptyGroup && k == 10 && (digit(13) > 0 || digit(14) > 0 || digit(15) > 0))
                // A thousand milliards with no milliards of their own still
                // need the word, or 10^12 would read as a thousand.
                w = word(kGroups[3]);
            acc.prepend(w);
            if (tensSaid)
                ++k;
            break;
        }
        case 2:
            if (d > 0)
                acc.prepend(word(kTens[d]));
            break;
        default:
            if (d == 1)
                acc.prepend(QStringLiteral("cent "));
            else if (d >= 2)
                acc.prepend(QString::fromUtf8(kUnits[d]) + QStringLiteral(" cent "));
            break;
        }
    }
    if (!acc.isEmpty())
        acc[0] = acc[0].toUpper();
    return acc;
}

QString SomLettr(double value)
{
    if (!std::isfinite(value) || value < 0 || value >= 1e15)
        return errorText();
    return SomLettr(QString::number(std::floor(value), 'f', 0));
}

QString FFeuro(double francs, const QLocale& locale)
{
    return formatMask(francs / kFrancsPerEuro, QStringLiteral("###,###,###,###,###.00"), locale)
           + QStringLiteral(" euros");
}

QString EuroFF(double euros, const QLocale& locale)
{
    return formatMask(euros * kFrancsPerEuro, QStringLiteral("###,###,###,###,###.00"), locale)
           + QStringLiteral(" francs");
}

}  // namespace tb
