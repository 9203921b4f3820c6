#pragma once
#include <QString>

namespace tb {

// Leading number of a text: blanks ignored anywhere, optional sign, digits,
// one ".", optional exponent (E or D). "" gives 0, "5,5" gives 5, "12a" gives 12.
double numericValue(QStringView text);

// numericValue clamped into an int range, for counts and card numbers.
long long numericInteger(QStringView text);

}  // namespace tb
