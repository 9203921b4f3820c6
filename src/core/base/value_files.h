#pragma once
// One-value files ("NBFiches.dat", "carte.txt", "dossier.txt", the program
// path files) and caption files ("StrFic.txt", "DeptCourant.txt").
#include "core/base/error.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace tb {

// Delimited values in sequence: leading blanks skipped; a quoted text loses its
// quotes; otherwise a value runs up to the next comma or line end. CR LF or LF.
QStringList parseValues(QByteArrayView bytes, int maxCount = -1);
QString parseFirstValue(QByteArrayView bytes);

// First value of a file; empty when the file is missing. *exists tells which.
QString readFirstValue(const QString& path, bool* exists = nullptr);
// Up to count values of a file (fewer when the file holds fewer).
QStringList readValues(const QString& path, int count);

// The value as one line ended by CR LF; a value holding a comma, beginning
// with a blank or a double quote, or ending with a blank, is written quoted so
// that it reads back whole.
QByteArray valueLine(const QString& value);
Status writeValueFile(const QString& path, const QString& value);
// Paths ("carte.txt", "dossier.txt", program paths): in the code page when it
// holds them, otherwise UTF-8, so a folder under any name keeps working.
QString readPathValue(const QString& path);
Status writePathValue(const QString& path, const QString& value);

// One quoted value per line, CR LF.
Status writeQuotedLines(const QString& path, const QStringList& values);

}  // namespace tb
