#pragma once
// Field 1 of a card: the marker byte, then the pin's position on the map.
#include "core/cards/card_record.h"

#include <QString>
#include <QStringView>

namespace tb {

class PinField {
public:
    static constexpr int kWidth = 30;

    // A blank field: no marker, position 0, 0.
    PinField();
    // A new pin: marker, then x and y in their number-to-text forms.
    PinField(QChar marker, double x, double y);
    // The field as read; its text is written back as it came.
    static PinField read(QStringView field1);
    static PinField of(const CardRecord& card) { return read(card.field(kFieldPosition)); }
    void writeInto(CardRecord& card) const { card.field(kFieldPosition) = m_text; }

    QChar markerChar() const { return m_text[0]; }
    int marker() const;  // numeric value of the marker
    bool isActive() const { return marker() >= 1; }
    double x() const { return m_x; }
    double y() const { return m_y; }
    // The same position (and every other byte) with another marker.
    PinField withMarker(QChar marker) const;

    // The field at its full width.
    const QString& text() const { return m_text; }
    bool operator==(const PinField& other) const { return m_text == other.m_text; }

private:
    explicit PinField(const QString& text);

    QString m_text;
    double m_x = 0, m_y = 0;
};

}  // namespace tb
