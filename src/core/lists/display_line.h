#pragma once
// The display line of a card straight from its record bytes, shared by the
// sorted lists and the searches.
#include <QByteArrayView>
#include <QString>
#include <array>

namespace tb {

// Four fields (numbers 1 to 20) at their full width joined by single blanks;
// a short record reads as blanks.
QString displayLine(QByteArrayView record, const std::array<int, 4>& fields);
// The first count of fields the same way, as the record's code-page bytes
// written at out (at most 41 bytes a field); returns the end.
char* writeDisplayBytes(QByteArrayView record, const int* fields, size_t count, char* out);

}  // namespace tb
