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

}  // namespace tb
