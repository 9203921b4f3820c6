#include "core/cards/pin_field.h"

#include "core/base/numeric.h"

namespace tb {

static_assert(CardRecord::kWidths[0] == PinField::kWidth);

PinField::PinField() : m_text(kWidth, u' ') {}

PinField::PinField(const QString& text) : m_text(padField(text, kWidth))
{
    // x from characters 2 to 8, y from the last 20.
    m_x = numericValue(QStringView(m_text).mid(1, 7));
    m_y = numericValue(QStringView(m_text).right(20));
}

PinField::PinField(QChar marker, double x, double y) : PinField(marker + positionText(x, y)) {}

PinField PinField::read(QStringView field1)
{
    return PinField(field1.toString());
}

int PinField::marker() const
{
    return int(numericValue(QStringView(m_text).left(1)));
}

PinField PinField::withMarker(QChar marker) const
{
    PinField changed = *this;
    changed.m_text[0] = marker;
    return changed;
}

}  // namespace tb
