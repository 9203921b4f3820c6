#pragma once
// One card: 20 fixed-width fields, 630 bytes in the code page, no separators.
#include "core/db/count_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>

namespace tb {

// The card fields, numbered 1 to 20 as the records number them.
enum CardField : int {
    kFieldPosition = 1,  // marker and pin
    kFieldCivility = 2,
    kFieldSurname = 3,
    kFieldFirstNames = 4,
    kFieldStreet = 5,
    kFieldPostalCode = 6,
    kFieldCity = 7,
    kFieldLandline = 8,
    kFieldMobile = 9,
    kFieldEmail = 10,
    kFieldFirstCustom = 11,  // 11 to 20 carry the database's captions
    // The last six custom fields hold the debt amounts.
    kFieldOwed = 15,
    kFieldInterestOwed = 16,
    kFieldThirdOwed = 17,
    kFieldTotalOwed = 18,
    kFieldCollected = 19,
    kFieldRemaining = 20,
    kFieldFirst = kFieldPosition,
    kFieldLast = kFieldRemaining,
};

// For the loops over all fields.
constexpr CardField& operator++(CardField& k)
{
    return k = CardField(k + 1);
}

// The index of field k in the arrays of twenty texts.
constexpr size_t fieldIndex(CardField k)
{
    return size_t(k - kFieldFirst);
}

}  // namespace tb

struct CardRecord {
    static constexpr int kFieldCount = 20;
    static constexpr int kSize = tb::kRecordSize;
    static constexpr std::array<int, kFieldCount> kWidths{30, 15, 15, 15, 40, 5, 40, 15, 15, 40,
                                                          40, 40, 40, 40, 40, 40, 40, 40, 40, 40};
    // Byte offset of field index i (0-based: field k of the cards is index
    // k-1); the last is the record's size.
    static constexpr std::array<int, kFieldCount + 1> kOffsets = [] {
        std::array<int, kFieldCount + 1> o{};
        for (size_t i = 0; i < kWidths.size(); ++i)
            o[i + 1] = o[i] + kWidths[i];
        return o;
    }();
    static constexpr int offset(int index) { return kOffsets[size_t(index)]; }

    // Each field at its full width, padded with blanks.
    std::array<QString, kFieldCount> fields;

    CardRecord();  // all fields blank
    // A short or empty block gives blank fields for the missing bytes.
    static CardRecord fromBytes(QByteArrayView bytes);
    // The kSize bytes of a record as fromBytes reads it: a short block is
    // completed with blanks in room.
    static QByteArrayView padded(QByteArrayView bytes, QByteArray& room);
    // Field k's bytes of a record of kSize bytes.
    static QByteArrayView fieldBytes(QByteArrayView record, tb::CardField k)
    {
        return record.sliced(offset(int(tb::fieldIndex(k))), width(k));
    }
    // Pads or cuts each text to its width.
    static CardRecord fromTexts(const std::array<QString, kFieldCount>& texts);
    QByteArray toBytes() const;

    const QString& field(tb::CardField k) const { return fields[tb::fieldIndex(k)]; }
    QString& field(tb::CardField k) { return fields[tb::fieldIndex(k)]; }
    // By number (1 to 20), for the tables that list fields by number.
    const QString& field(int k) const { return field(tb::CardField(k)); }
    static int width(tb::CardField k) { return kWidths[tb::fieldIndex(k)]; }

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
