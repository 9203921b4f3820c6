#pragma once
// A server whose certificate is not trusted: its fingerprint is shown and it
// is accepted, for that server, only on the user's say.
#include <QString>

class Dialogs;

// fingerprint: the SHA-256 in hex. True when the user accepts it.
bool acceptCertificate(Dialogs& dialogs, const QString& server, const QString& fingerprint);
