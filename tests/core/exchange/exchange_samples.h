#pragma once
// Contact files as phones and address books write them, cards to export, and
// the files of samples/ with the listings of what reading them gives.
#include "core/cards/card_record.h"
#include "core/exchange/contact.h"
#include "support/fixtures.h"

#include <QByteArray>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <map>
#include <vector>

namespace exchange_samples {

// A card with every field given by number (1 to 20); the others blank.
inline CardRecord card(const std::map<int, QString>& fields)
{
    std::array<QString, CardRecord::kFieldCount> t;
    for (const auto& [k, text] : fields)
        t[size_t(k - 1)] = text;
    return CardRecord::fromTexts(t);
}

// A contact with the given fields (2 to 20) and country.
inline tb::Contact contact(const std::map<int, QString>& fields, const QString& country = {})
{
    tb::Contact c;
    for (const auto& [k, text] : fields)
        c.field(k) = text;
    c.country = country;
    return c;
}

// A small picture in the given format ("JPG", "PNG").
inline QByteArray picture(const char* format, QColor colour = Qt::red)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    testing_support::filledImage({8, 6}, colour).save(&buffer, format);
    return bytes;
}

// Only the header of a 24-bit bitmap: the size a reader sees before decoding.
inline QByteArray bitmapHeader(quint32 width, quint32 height)
{
    QByteArray bytes("BM");
    for (const quint32 v : {54 + 3 * width * height, 0u, 54u, 40u, width, height, 1u | (24u << 16), 0u, 0u, 0u, 0u, 0u, 0u})
        for (int i = 0; i < 4; ++i)
            bytes.append(char((v >> (8 * i)) & 0xff));
    return bytes;
}

#ifdef TABULON_TEST_SAMPLES
// A file of the samples folder, its bytes as they are.
inline QByteArray sample(const QString& name)
{
    return testing_support::readBytes(QStringLiteral(TABULON_TEST_SAMPLES "core/exchange/samples/") + name);
}

// The names of the samples in a folder of samples/, as "folder/name".
inline QStringList samples(const QString& folder, const QString& pattern)
{
    QStringList names;
    for (const QString& name : QDir(QStringLiteral(TABULON_TEST_SAMPLES "core/exchange/samples/") + folder).entryList({pattern}, QDir::Files))
        names << folder + u'/' + name;
    return names;
}

// What a reading gave, a line a fact, as a sample's listing ("NAME.txt" beside it, its "#" lines aside) holds it.
inline QString listing(const std::vector<tb::Contact>& contacts, const QStringList& notes)
{
    QString out;
    for (size_t i = 0; i < contacts.size(); ++i) {
        const tb::Contact& c = contacts[i];
        out += QStringLiteral("contact %1\n").arg(i + 1);
        for (int k = 2; k <= 20; ++k)
            if (!c.field(k).isEmpty())
                out += QString::number(k) + QStringLiteral(": ") + c.field(k) + u'\n';
        for (const QString& s : c.notKept)
            out += QStringLiteral("non repris: ") + s + u'\n';
        for (const QString& s : c.remarks)
            out += QStringLiteral("remarque: ") + s + u'\n';
        if (!c.photo.isEmpty())
            out += QStringLiteral("photo: ")
                   + QCryptographicHash::hash(c.photo, QCryptographicHash::Sha256).toHex().left(16) + u'\n';
        if (c.pin)
            out += QStringLiteral("épingle: ") + c.pin->marker + u';' + QString::number(c.pin->x) + u';'
                   + QString::number(c.pin->y) + u'\n';
    }
    for (const QString& s : notes)
        out += QStringLiteral("note: ") + s + u'\n';
    return out;
}

inline QString expectedListing(const QString& sampleName)
{
    QStringList lines = QString::fromUtf8(sample(sampleName.section(u'.', 0, -2) + QStringLiteral(".txt"))).split(u'\n');
    lines.removeIf([](const QString& l) { return l.startsWith(u'#'); });
    return lines.join(u'\n');
}

#endif

}  // namespace exchange_samples
