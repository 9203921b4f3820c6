#pragma once
// A path kept in a one-value file. Paths that fit the code page are written
// in it, as every other value; the rest (a folder named "łukasz") in UTF-8,
// so that they still lead to the file.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tb {

QByteArray encodePathValue(const QString& path);
// Valid UTF-8 with at least one non-ASCII character is read as UTF-8,
// anything else as the code page.
QString decodePathValue(QByteArrayView bytes);

}  // namespace tb
