#pragma once
// One card: 20 fixed-width fields, 630 bytes in the code page, no separators.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

struct CardRecord {
    static constexpr int kFieldCount = 20;
    static constexpr int kSize = 630;
    static constexpr std::array<int, kFieldCount> kWidths{30, 15, 15, 15, 40, 5, 40, 15, 15, 40,
                                                          40, 40, 40, 40, 40, 40, 40, 40, 40, 40};
    // Byte offset of field index i (0-based: field k of the cards is index k-1).
    static int offset(int index);

    // Each field at its full width, padded with blanks.
    std::array<QString, kFieldCount> fields;

    CardRecord();  // all fields blank
    // A short or empty block gives blank fields for the missing bytes.
    static CardRecord fromBytes(QByteArrayView bytes);
    // Pads or cuts each text to its width.
    static CardRecord fromTexts(const std::array<QString, kFieldCount>& texts);
    QByteArray toBytes() const;

    // field(k) with k from 1 to 20, as the cards number them.
    const QString& field(int k) const { return fields[k - 1]; }

    // Marker and position, read from field 1.
    int marker() const;      // numeric value of character 1
    bool isActive() const { return marker() >= 1; }
    double x() const;        // numeric value of characters 2 to 8
    double y() const;        // numeric value of the last 20 characters
};

namespace tb {

// Left-aligned in width, padded with blanks, cut when longer.
QString padField(const QString& text, int width);

// Position text: blank, x, 17 blanks, blank, y (number-to-text forms).
QString positionText(double x, double y);

// Marker and position straight from the 30 bytes of field 1 (the pin pass
// decodes nothing else).
struct PinSpot {
    int marker = 0;
    double x = 0, y = 0;
};
PinSpot pinSpotOf(QByteArrayView field1Bytes);

}  // namespace tb
