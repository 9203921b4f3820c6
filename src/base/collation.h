#pragma once
// The one order of every sorted list: French, case-insensitive.
#include <QByteArray>
#include <QString>

namespace tb {

// Precomputed key: comparing two keys with < orders their texts.
QByteArray frenchSortKey(const QString& text);
// Comparison of two texts in that order (<0, 0, >0).
int frenchCompare(const QString& a, const QString& b);

}  // namespace tb
