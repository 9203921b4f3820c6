#include "core/cards/pin_field.h"

#include <gtest/gtest.h>

// Field 1 goes back to the file as it came: an odd marker byte, a decimal
// position and whatever else the 30 bytes hold.
TEST(PinField, KeepsTheStoredBytesAndReadsMarkerAndPosition)
{
    QByteArray bytes(CardRecord::kSize, ' ');
    const QByteArray field1 = QByteArray("\x81") + " 120.5  x" + "-45.25" + QByteArray(13, ' ') + "\xff";
    ASSERT_EQ(field1.size(), 30);
    bytes.replace(0, 30, field1);
    CardRecord card = CardRecord::fromBytes(bytes);
    const tb::PinField pin = tb::PinField::of(card);
    EXPECT_EQ(pin.marker(), 0);
    EXPECT_FALSE(pin.isActive());
    EXPECT_DOUBLE_EQ(pin.x(), 120.5);
    EXPECT_DOUBLE_EQ(pin.y(), -45.25);
    pin.writeInto(card);
    EXPECT_EQ(card.toBytes(), bytes);

    // Another marker changes that byte only.
    pin.withMarker(u'3').writeInto(card);
    EXPECT_EQ(card.toBytes(), QByteArray("3") + bytes.mid(1));
    EXPECT_EQ(tb::PinField::of(card).marker(), 3);
    EXPECT_DOUBLE_EQ(tb::PinField::of(card).x(), 120.5);

    // A new pin: marker, then the number-to-text forms, blank to the width.
    const tb::PinField made(u'5', 12.75, 300);
    EXPECT_EQ(made.text(), (QStringLiteral("5 12.75") + QString(17, u' ') + QStringLiteral(" 300")).leftJustified(30));
    EXPECT_DOUBLE_EQ(made.x(), 12.75);
    EXPECT_DOUBLE_EQ(made.y(), 300);
    EXPECT_EQ(tb::PinField().text(), QString(30, u' '));
    EXPECT_EQ(tb::PinField().withMarker(u'7').text(), QStringLiteral("7").leftJustified(30));
}
