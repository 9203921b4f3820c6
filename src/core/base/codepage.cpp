#include "core/base/codepage.h"

#include "core/base/byte_runs.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <vector>

namespace tb {

namespace {

// The code page's 256 characters, read once from Qt's own converter. ICU
// leaves five bytes undefined; they stand for the C1 controls of the same
// value so that every byte survives a round trip.
struct Tables {
    std::array<QChar, 256> chars{};
    std::vector<qint16> bytes = std::vector<qint16>(0x10000, -1);  // character -> byte, -1 when none
};

const Tables& tables()
{
    static const Tables t = [] {
        Tables t;
        QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString one = decoder.decode(QByteArrayView(&byte, 1));
            const bool undefined = one.size() != 1 || one[0] == QChar::ReplacementCharacter;
            t.chars[size_t(b)] = undefined ? QChar(char16_t(b)) : one[0];
        }
        for (int b = 0; b < 256; ++b)
            t.bytes[t.chars[size_t(b)].unicode()] = qint16(b);
        return t;
    }();
    return t;
}

}  // namespace

QChar cp1252Char(uchar byte)
{
    return tables().chars[byte];
}

const std::array<Utf8Char, 256>& utf8OfCp1252()
{
    static const std::array<Utf8Char, 256> table = [] {
        std::array<Utf8Char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const QByteArray utf8 = QString(tables().chars[size_t(b)]).toUtf8();
            t[size_t(b)].size = quint8(utf8.size());
            std::copy(utf8.begin(), utf8.end(), t[size_t(b)].bytes);
        }
        return t;
    }();
    return table;
}

char* cp1252ToUtf8(QByteArrayView bytes, char* out)
{
    static const Utf8Char* const table = utf8OfCp1252().data();
    // Plain ASCII is its own UTF-8; three bytes always copied for the others,
    // the size kept: no branch per length.
    return copyPlainRuns(bytes, out, [](uchar b, char* o) {
        const Utf8Char& u = table[b];
        o[0] = u.bytes[0], o[1] = u.bytes[1], o[2] = u.bytes[2];
        return o + u.size;
    });
}

QString fromCp1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    fromCp1252Into(bytes, out.data());
    return out;
}

void fromCp1252Into(QByteArrayView bytes, QChar* out)
{
    const auto& chars = tables().chars;
    for (char b : bytes)
        *out++ = chars[uchar(b)];
}

QByteArray toCp1252(const QString& text)
{
    const auto& bytes = tables().bytes;
    QByteArray out(text.size(), Qt::Uninitialized);
    char* o = out.data();
    for (QChar c : text) {
        const qint16 b = bytes[c.unicode()];
        *o++ = b < 0 ? '?' : char(b);
    }
    return out;
}

QString nearestCp1252(const QString& text, QString* replaced)
{
    // Letters whose decomposition holds no base letter of the code page.
    static const QHash<char32_t, QChar> plain = {
        {U'Ł', u'L'}, {U'ł', u'l'}, {U'Đ', u'D'}, {U'đ', u'd'}, {U'Ħ', u'H'}, {U'ħ', u'h'},
        {U'ı', u'i'}, {U'Ŀ', u'L'}, {U'ŀ', u'l'}, {U'Ŧ', u'T'}, {U'ŧ', u't'}, {U'Ɓ', u'B'},
        {U'‐', u'-'}, {U'‑', u'-'}, {U'−', u'-'}, {U'\u202F', u' '},
        {U'\u2009', u' '}, {U'ʼ', u'\''}, {U'Ə', u'E'}, {U'ə', u'e'}, {U'Ŋ', u'N'}, {U'ŋ', u'n'},
    };
    const auto& bytes = tables().bytes;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!c.isSurrogate() && bytes[c.unicode()] >= 0) {
            out += c;
            continue;
        }
        const char32_t code = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()
                                  ? QChar::surrogateToUcs4(c, text[i + 1])
                                  : char32_t(c.unicode());
        const QString original = QString::fromUcs4(&code, 1);
        if (code > 0xFFFF)
            ++i;
        QChar nearest = plain.value(code, QChar());
        if (nearest.isNull()) {
            // "ő" decomposes into "o" and a mark: the base letter stands in.
            const QString parts = original.normalized(QString::NormalizationForm_KD);
            if (!parts.isEmpty() && parts[0] != c && !parts[0].isMark() && bytes[parts[0].unicode()] >= 0)
                nearest = parts[0];
        }
        out += nearest.isNull() ? QChar(u'?') : nearest;
        if (replaced)
            *replaced += original;
    }
    return out;
}

bool fitsCp1252(const QString& text)
{
    const auto& bytes = tables().bytes;
    for (QChar c : text)
        if (bytes[c.unicode()] < 0)
            return false;
    return true;
}

QString keepCp1252(const QString& text)
{
    const auto& bytes = tables().bytes;
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (bytes[c.unicode()] >= 0)
            out += c;
    return out;
}

QString upperWithinCodePage(const QString& text)
{
    const auto& bytes = tables().bytes;
    QString out = text;
    for (QChar& c : out) {
        const QChar upper = c.toUpper();
        if (upper != c && bytes[upper.unicode()] >= 0)
            c = upper;
    }
    return out;
}

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder probe(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = probe.decode(bytes);
    return !probe.hasError();
}

}  // namespace tb
