#pragma once
#include <QByteArray>
#include <QString>

namespace tb {

// Whole-file rewrite through a temporary file and a rename: a crash never
// leaves a half-written file.
bool writeFileAtomic(const QString& path, const QByteArray& bytes);
// Copies src over dst (replacing it) the same way. False when src is missing.
bool copyFileReplacing(const QString& src, const QString& dst);
// Whole content of a file, empty when missing or unreadable.
QByteArray readWholeFile(const QString& path);

}  // namespace tb
