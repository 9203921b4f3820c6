#include "core/base/number_text.h"

#include <QLocale>

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
    if (!std::isfinite(value))
        value = 0;
    const bool negative = value < 0;
    const float a = std::fabs(value);
    if (a == std::trunc(a) && a < 1e7f)
        return signedText(QString::number(static_cast<long long>(a)), negative);
    return signedText(QString::number(double(a), 'g', 7), negative);
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
