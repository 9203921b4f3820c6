#pragma once
// The CardDAV password in the desktop's keyring (QtKeychain), never in a file.
#include "core/base/error.h"

#include <QString>

namespace tb {

// The password kept for user at server; an Error when none is kept or the
// desktop has no keyring (keyringMissing() then tells which).
Result<QString> readSyncPassword(const QString& server, const QString& user);
Status keepSyncPassword(const QString& server, const QString& user, const QString& password);
// True once a keyring call failed because the desktop has none (or none that answers).
bool keyringMissing();
QString keyringMissingText();

}  // namespace tb
