#pragma once
// The one order of every sorted list: French, case-insensitive.
#include <QByteArray>
#include <QCollatorSortKey>
#include <QString>

namespace tb {

// Precomputed key of the collator: a.compare(b) < 0 orders the texts as
// frenchCompare does. Compute once per line, then sort on the keys.
QCollatorSortKey frenchKey(const QString& text);
inline bool frenchKeyLess(const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; }
// Comparison of two texts in that order (<0, 0, >0).
int frenchCompare(const QString& a, const QString& b);

}  // namespace tb
