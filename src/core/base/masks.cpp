#include "core/base/masks.h"

#include <QRegularExpression>
#include <cmath>
#include <vector>

namespace tb {

namespace {

struct Decimal {
    QString whole;  // no leading zeros; empty for 0
    QString fraction;
};

// Rounds |value| to `decimals` places, working on its 15 significant digits so
// that 1.005 rounds like the user reads it, half away from zero.
Decimal roundDecimal(double value, int decimals)
{
    Decimal out;
    const double a = std::fabs(value);
    if (a == 0 || !std::isfinite(a)) {
        out.fraction = QString(decimals, u'0');
        return out;
    }
    const QString e = QString::number(a, 'e', 14);  // d.dddddddddddddde+XX
    const int ePos = e.indexOf(u'e');
    const int exponent = e.mid(ePos + 1).toInt();
    std::vector<int> digits;
    for (int i = 0; i < ePos; ++i)
        if (e[i].isDigit())
            digits.push_back(e[i].digitValue());
    // digits[k] has weight 10^(exponent - k); keep weights down to 10^-decimals.
    const int keep = exponent + decimals + 1;
    std::vector<int> kept;
    int pointPos = exponent + 1;  // digits before the decimal point
    if (keep < 0) {
        out.fraction = QString(decimals, u'0');
        return out;
    }
    for (int k = 0; k < keep; ++k)
        kept.push_back(k < int(digits.size()) ? digits[k] : 0);
    const bool roundUp = keep < int(digits.size()) && digits[keep] >= 5;
    if (roundUp) {
        int k = int(kept.size()) - 1;
        while (k >= 0 && kept[k] == 9) {
            kept[k] = 0;
            --k;
        }
        if (k >= 0) {
            ++kept[k];
        } else {
            kept.insert(kept.begin(), 1);
            ++pointPos;
        }
    }
    // Pad on the left when the number is below 1.
    while (pointPos < 0) {
        kept.insert(kept.begin(), 0);
        ++pointPos;
    }
    QString all;
    for (int d : kept)
        all += QChar(u'0' + d);
    while (all.size() < pointPos + decimals)
        all += u'0';
    out.whole = all.left(pointPos);
    out.fraction = all.mid(pointPos, decimals);
    while (out.whole.startsWith(u'0'))
        out.whole.remove(0, 1);
    return out;
}

QString groupSeparator(const QLocale& locale)
{
    QString g = locale.groupSeparator();
    // French uses a narrow no-break space, which the code page cannot hold.
    if (g == QStringLiteral("\u202F"))
        g = QStringLiteral("\u00A0");
    return g;
}

}  // namespace

QString formatMask(double value, const QString& mask, const QLocale& locale)
{
    const int dot = mask.indexOf(u'.');
    const int decimals = dot < 0 ? 0 : int(mask.size() - dot - 1);
    const bool grouped = mask.left(dot < 0 ? mask.size() : dot).contains(u',');
    if (!std::isfinite(value))
        value = 0;
    Decimal d = roundDecimal(value, decimals);
    const bool isZero = d.whole.isEmpty() && !d.fraction.contains(QRegularExpression(QStringLiteral("[1-9]")));
    QString whole = d.whole;
    if (grouped && whole.size() > 3) {
        const QString sep = groupSeparator(locale);
        for (int i = int(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, sep);
    }
    QString text = whole;
    if (decimals > 0)
        text += locale.decimalPoint() + d.fraction;
    if (value < 0 && !isZero)
        text.prepend(u'-');
    return text;
}

QString pointForm(double value, const QString& mask)
{
    const QString text = formatMask(value, mask);
    const int dot = mask.indexOf(u'.');
    if (dot < 0 || text.isEmpty())
        return text;
    const int decimals = int(mask.size() - dot - 1);
    const int sepPos = int(text.size()) - decimals - 1;
    QString out = text;
    out[sepPos] = u'.';
    return out;
}

}  // namespace tb
