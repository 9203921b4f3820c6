#pragma once
#include <QLocale>
#include <QString>

namespace tb {

// Formats value with a mask such as "##################.00",
// "###,###,###,###,###.00" or "###############.000": no leading zero
// (0.5 -> ".50"), rounding half away from zero on the value's 15 significant
// digits, the locale's decimal and group separators.
QString formatMask(double value, const QString& mask, const QLocale& locale = QLocale());

// The mask with its decimal separator forced to "." (stored amounts).
QString pointForm(double value, const QString& mask = QStringLiteral("##################.00"));

}  // namespace tb
