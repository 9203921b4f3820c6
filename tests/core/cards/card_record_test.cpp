// Byte layout of a card, its marker and position, its debt fields and status words.
#include "core/cards/card_fields.h"
#include "core/cards/card_record.h"
#include "core/cards/debt.h"
#include "core/cards/pin_field.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using testing_support::makeCard;

TEST(CardRecord, LayoutIsByteExactAndTextsPaddedOrCutAndForeignCharactersKeepIt)
{
    // The widths other programs read the file with, written out.
    const int widths[20] = {30, 15, 15, 15, 40, 5, 40, 15, 15, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40};
    // Each field filled to its width with its own letter: shows every offset.
    std::array<QString, CardRecord::kFieldCount> t;
    QByteArray expected;
    for (int i = 0; i < 20; ++i) {
        t[i] = QString(widths[i], QChar(u'A' + i));
        expected += QByteArray(widths[i], char('A' + i));
    }
    EXPECT_EQ(CardRecord::fromTexts(t).toBytes(), expected);
    EXPECT_EQ(expected.size(), 630);
    EXPECT_EQ(CardRecord().toBytes(), QByteArray(630, ' '));

    // Texts padded or cut; foreign characters keep the layout.
    t = {};
    t[2] = QStringLiteral("ABCDEFGHIJKLMNOPQRST");  // 20 characters into 15
    t[3] = QStringLiteral("Győr😀X");
    t[5] = QStringLiteral("750011");
    t[6] = QStringLiteral("Évry");
    const QByteArray bytes = CardRecord::fromTexts(t).toBytes();
    ASSERT_EQ(bytes.size(), 630);
    EXPECT_EQ(bytes.mid(45, 80), "ABCDEFGHIJKLMNOGy?r??X        " + QByteArray(40, ' ') + "75001\xC9vry ");
    EXPECT_EQ(CardRecord::fromBytes(bytes).field(7), QStringLiteral("Évry") + QString(36, u' '));

    // A short or empty block gives blanks; every byte of a full one reads back.
    EXPECT_EQ(CardRecord::fromBytes("3 120").field(1), QStringLiteral("3 120") + QString(25, u' '));
    EXPECT_EQ(CardRecord::fromBytes({}).toBytes(), QByteArray(630, ' '));
    const QByteArray all = QByteArray(629, 'x') + "\x81";
    EXPECT_EQ(CardRecord::fromBytes(all).toBytes(), all);
}

TEST(CardRecord, MarkerAndPositionFromTheTextsAndStraightFromTheBytes)
{
    EXPECT_EQ(tb::positionText(120, 45), QStringLiteral(" 120") + QString(17, u' ') + QStringLiteral(" 45"));
    CardRecord card = makeCard("DUPONT", "Jean", 3, 123, 456);
    EXPECT_EQ(card.field(1), "3 123                  456    ");
    EXPECT_TRUE(card.isActive());
    EXPECT_EQ(card.x(), 123);
    card.fields[0][0] = u'0';
    EXPECT_FALSE(card.isActive());
    EXPECT_EQ(card.y(), 456);

    const tb::PinSpot s = tb::pinSpotOf(makeCard("A", "B", 7, 12345, 67890).toBytes().left(30));
    EXPECT_EQ(s.marker, 7);  // five-digit coordinates still fit the field
    EXPECT_EQ(s.y, 67890);
    const tb::PinSpot frac = tb::pinSpotOf(makeCard("A", "B", 2, 10.5, -3).toBytes().left(30));
    EXPECT_EQ(frac.x, 10.5);
    EXPECT_EQ(frac.y, -3);
    EXPECT_EQ(tb::pinSpotOf("x 12").marker, 0);
    EXPECT_EQ(tb::pinSpotOf("5 12").x, 12);
    EXPECT_EQ(tb::pinSpotOf({}).marker, 0);
}

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

namespace {

using Texts = std::array<QString, 6>;

TEST(Debt, PointFormsOfOwedCollectedAndRemainingAndStatusWords)
{
    // A comma is a decimal point, empty or text counts zero, below one has no leading digit.
    EXPECT_EQ(tb::debtCalculation("10", "5,5", "", "3"), (Texts{"10.00", "5.50", ".00", "15.50", "3.00", "12.50"}));
    EXPECT_EQ(tb::debtCalculation("100", "20.5", "0", "50"),
              (Texts{"100.00", "20.50", ".00", "120.50", "50.00", "70.50"}));
    // Fields read back from a record carry their blanks; halves round away from zero; remaining may be negative.
    EXPECT_EQ(tb::debtCalculation("12.345                                  ", "  0.005", "abc", "20"),
              (Texts{"12.35", ".01", ".00", "12.35", "20.00", "-7.65"}));

    // Status words and fixed captions.
    EXPECT_EQ(tb::statusWord(tb::PinField::read(u"3 12")), "active");
    EXPECT_EQ(tb::statusWord(tb::PinField()), "archivée");
    EXPECT_EQ(tb::statusWord(tb::PinField::read(u"0 12"), true), "Archivée");
    EXPECT_EQ(tb::fixedFieldCaptions().size(), 9);
    EXPECT_EQ(tb::fixedFieldCaptions()[1], "Nom ");
}

}  // namespace
