#pragma once
// The sender's address printed on envelopes: the program folder's
// "expediteur.txt", one line per address line, in the code page.
#include "core/base/error.h"

#include <QString>
#include <QStringList>

namespace tb {

QString senderFile(const QString& programFolder);
// The lines kept, without the empty ones at the end; none when there is no file.
QStringList readSenderAddress(const QString& programFolder);
// Replaces the file whole (crash-safe). Refused, with nothing written, when a
// line holds a character the code page lacks or the block breaks La Poste's
// rule (six lines of 38 characters at most).
Status writeSenderAddress(const QString& programFolder, const QStringList& lines);

}  // namespace tb
