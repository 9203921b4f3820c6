#include "base/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tb {

namespace {
// ICU's windows-1252 leaves five bytes undefined; we carry them as the C1
// controls of the same value so that every byte survives a round trip.
bool isUndefinedByte(uchar b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }
}  // namespace

QString fromCp1252(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    // One converter for the whole run: opening an ICU converter costs far more
    // than converting a record.
    static thread_local QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || isUndefinedByte(uchar(bytes[i]))) {
            if (i > start)
                out += decoder.decode(bytes.sliced(start, i - start));
            if (i < bytes.size())
                out += QChar(ushort(uchar(bytes[i])));
            start = i + 1;
        }
    }
    return out;
}

QByteArray toCp1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    static thread_local QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool undefined = i < text.size() && text[i].unicode() < 0x100 && isUndefinedByte(uchar(text[i].unicode()));
        if (i == text.size() || undefined) {
            if (i > start)
                out += encoder.encode(QStringView(text).sliced(start, i - start));
            if (undefined)
                out += char(text[i].unicode());
            start = i + 1;
        }
    }
    return out;
}

bool fitsCp1252(const QString& text)
{
    return fromCp1252(toCp1252(text)) == text;
}

QString keepCp1252(const QString& text)
{
    if (fitsCp1252(text))
        return text;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QString one = text.mid(i, text[i].isHighSurrogate() ? 2 : 1);
        if (one.size() == 2)
            ++i;
        if (fitsCp1252(one))
            out += one;
    }
    return out;
}

}  // namespace tb
