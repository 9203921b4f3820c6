#pragma once
// The note cipher: each byte of the note XORed with a key byte, the key
// repeated along the note. The same operation enciphers and deciphers.
#include <QByteArray>
#include <QString>
#include <optional>

namespace tb {

// Key bytes: every character of codes 48 to 122 ("0" to "z") becomes its code
// plus 100; any other character (space, accented letter, sign, a character
// the code page cannot hold) is skipped.
QByteArray noteKeyBytes(const QString& key);

// note XOR the key bytes repeated to its length; note itself when the key
// holds no byte.
QByteArray cipherBytes(const QByteArray& note, const QByteArray& keyBytes);

// The note (one character per code-page byte) enciphered or deciphered with
// key; nullopt when the key keeps no usable character.
std::optional<QString> cipherNote(const QString& note, const QString& key);

}  // namespace tb
