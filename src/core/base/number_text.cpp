#include "core/base/number_text.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tb {

namespace {
QString signedText(const QString& digits, bool negative)
{
    return (negative ? QStringLiteral("-") : QStringLiteral(" ")) + digits;
}
}  // namespace

QString numberText(double value)
{
    if (!std::isfinite(value))
        value = 0;
    const bool negative = value < 0;
    const double a = std::fabs(value);
    if (a == std::trunc(a) && a < 1e15)
        return signedText(QString::number(static_cast<long long>(a)), negative);
    return signedText(QString::number(a, 'g', 15), negative);
}

QString coordText(float value)
{
    char bytes[32];
    const char* end = coordInto(value, bytes);
    const QString text = QString::fromLatin1(bytes, end - bytes);
    return bytes[0] == '-' ? text : u' ' + text;
}

char* coordInto(float value, char* out)
{
    if (!std::isfinite(value))
        value = 0;
    if (value < 0)
        *out++ = '-';
    const float a = std::fabs(value);
    if (a == std::trunc(a) && a < 1e7f)
        return std::to_chars(out, out + 16, static_cast<long long>(a)).ptr;
    const QByteArray digits = QString::number(double(a), 'g', 7).toLatin1();
    const qsizetype n = std::min<qsizetype>(digits.size(), 30);
    std::copy_n(digits.constData(), n, out);
    return out + n;
}

QString plainNumber(long long value)
{
    return QString::number(value);
}

QString countText(long long count)
{
    return QLocale(QLocale::French, QLocale::France).toString(count);
}

}  // namespace tb
