#pragma once
#include <QString>

namespace tb {

// BASIC-style number text: a blank before a number that is not negative, "-"
// before a negative one; whole numbers without decimals (5 -> " 5").
QString numberText(double value);
// The same for a coordinate, kept at single precision.
QString coordText(float value);
// coordText without its leading blank, written at out (room for 32 bytes)
// for the writers of records; returns the end of what was written.
char* coordInto(float value, char* out);
// Card numbers in file names and new-card numbers: digits only, no blank.
QString plainNumber(long long value);
// A count in a message, as French readers write it: "95 004" (French group
// separator).
QString countText(long long count);

}  // namespace tb
