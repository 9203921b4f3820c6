#pragma once
// Whole-file writes through a temporary file, synced and renamed over the
// original: a crash or a full disk never leaves a half-written or empty file.
#include "core/base/error.h"

#include <QByteArray>
#include <QString>

namespace tb {

Status writeFileAtomic(const QString& path, const QByteArray& bytes);
// Copies src over dst (replacing it) the same way.
Status copyFileReplacing(const QString& src, const QString& dst);
// Whole content of a file, or the error that stopped the reading.
Result<QByteArray> readFile(const QString& path);
// Whole content of a file, empty when missing or unreadable.
QByteArray readWholeFile(const QString& path);

}  // namespace tb
