#pragma once
// Contact files as phones and address books write them, and cards to export.
#include "core/cards/card_record.h"
#include "core/exchange/contact.h"

#include <QByteArray>
#include <QImage>
#include <QBuffer>
#include <map>

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
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
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

}  // namespace exchange_samples
