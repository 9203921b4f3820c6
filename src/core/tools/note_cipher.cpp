#include "core/tools/note_cipher.h"

#include "core/base/codepage.h"

namespace tb {

QByteArray noteKeyBytes(const QString& key)
{
    QByteArray out;
    for (const QChar c : key) {
        // A character outside the code page would come out as "?", a usable
        // sign: it is left out instead, like accented letters.
        if (!fitsCp1252(QString(c)))
            continue;
        const int code = uchar(toCp1252(QString(c)).at(0));
        if (code >= 48 && code <= 122)
            out.append(char(code + 100));
    }
    return out;
}

QByteArray cipherBytes(const QByteArray& note, const QByteArray& keyBytes)
{
    if (keyBytes.isEmpty())
        return note;
    QByteArray out(note.size(), Qt::Uninitialized);
    const qsizetype k = keyBytes.size();
    for (qsizetype i = 0; i < note.size(); ++i)
        out[i] = char(uchar(note[i]) ^ uchar(keyBytes[i % k]));
    return out;
}

std::optional<QString> cipherNote(const QString& note, const QString& key)
{
    const QByteArray keyBytes = noteKeyBytes(key);
    if (keyBytes.isEmpty())
        return std::nullopt;
    return fromCp1252(cipherBytes(toCp1252(note), keyBytes));
}

}  // namespace tb
