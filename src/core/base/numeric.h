#pragma once
#include <QByteArrayView>
#include <QString>

namespace tb {

// Leading number of a text: blanks ignored anywhere, optional sign, digits,
// one ".", optional exponent (E or D). "" gives 0, "5,5" gives 5, "12a" gives 12.
double numericValue(QStringView text);
// The same on single-byte text (the code page's bytes), for hot paths that
// decode records without building texts.
double numericValue(QByteArrayView bytes);

// An amount or a rate as the user types it: numericValue, with a decimal
// comma read as the point ("5,5" gives 5.5, "12,50" gives 12.5).
double amountValue(QStringView text);

// numericValue clamped into an int range, for counts and card numbers.
long long numericInteger(QStringView text);

}  // namespace tb
