#include "core/cards/card_record.h"

#include "core/base/codepage.h"
#include "core/base/number_text.h"
#include "core/base/numeric.h"
#include "core/cards/pin_field.h"

static_assert(CardRecord::kOffsets[CardRecord::kFieldCount] == CardRecord::kSize);

CardRecord::CardRecord()
{
    for (int i = 0; i < kFieldCount; ++i)
        fields[i] = QString(kWidths[i], u' ');
}

CardRecord CardRecord::fromBytes(QByteArrayView bytes)
{
    CardRecord r;
    for (int i = 0; i < kFieldCount; ++i) {
        QString& f = r.fields[i];  // already blank at full width
        const qsizetype end = std::min<qsizetype>(bytes.size(), kOffsets[i + 1]);
        if (end > kOffsets[i])
            tb::fromCp1252Into(bytes.sliced(kOffsets[i], end - kOffsets[i]), f.data());
    }
    return r;
}

QByteArrayView CardRecord::padded(QByteArrayView bytes, QByteArray& room)
{
    if (bytes.size() >= kSize)
        return bytes.first(kSize);
    room = bytes.toByteArray();
    room.append(kSize - bytes.size(), ' ');
    return room;
}

CardRecord CardRecord::fromTexts(const std::array<QString, kFieldCount>& texts)
{
    CardRecord r;
    for (int i = 0; i < kFieldCount; ++i)
        r.fields[i] = tb::padField(texts[i], kWidths[i]);
    return r;
}

QByteArray CardRecord::toBytes() const
{
    QByteArray out;
    out.reserve(kSize);
    for (int i = 0; i < kFieldCount; ++i)
        out += tb::toCp1252(tb::padField(fields[i], kWidths[i]));  // one byte per character
    return out;
}

int CardRecord::marker() const
{
    return tb::PinField::of(*this).marker();
}

double CardRecord::x() const
{
    return tb::PinField::of(*this).x();
}

double CardRecord::y() const
{
    return tb::PinField::of(*this).y();
}

namespace tb {

QString padField(const QString& text, int width)
{
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), u' ');
}

QString positionText(double x, double y)
{
    return coordText(float(x)) + QString(17, u' ') + coordText(float(y));
}

PinSpot pinSpotOf(QByteArrayView field1Bytes)
{
    // The field is 30 wide; missing bytes are blanks, which the numeric value
    // ignores, so a short block just has fewer bytes to read.
    const QByteArrayView f = field1Bytes.first(std::min<qsizetype>(field1Bytes.size(), 30));
    PinSpot spot;
    if (f.isEmpty())
        return spot;
    spot.marker = int(numericValue(f.first(1)));
    if (f.size() > 1)
        spot.x = numericValue(f.sliced(1, std::min<qsizetype>(7, f.size() - 1)));
    if (f.size() > 10)
        spot.y = numericValue(f.sliced(10));
    return spot;
}

}  // namespace tb
