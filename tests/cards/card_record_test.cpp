// Byte layout of a card and its marker and position.
#include "cards/card_record.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using testing_support::makeCard;

namespace {
std::array<QString, CardRecord::kFieldCount> numberedTexts()
{
    // Each field filled to its width with its own letter: shows every offset.
    std::array<QString, CardRecord::kFieldCount> t;
    for (int i = 0; i < CardRecord::kFieldCount; ++i)
        t[i] = QString(CardRecord::kWidths[i], QChar(u'A' + i));
    return t;
}
}  // namespace

TEST(CardRecord, LayoutIsByteExact)
{
    const std::array<int, 20> offsets{0,   30,  45,  60,  75,  115, 120, 160, 175, 190,
                                      230, 270, 310, 350, 390, 430, 470, 510, 550, 590};
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(CardRecord::offset(i), offsets[i]) << i;
    const QByteArray bytes = CardRecord::fromTexts(numberedTexts()).toBytes();
    ASSERT_EQ(bytes.size(), 630);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(bytes.mid(offsets[i], CardRecord::kWidths[i]), QByteArray(CardRecord::kWidths[i], char('A' + i)))
            << i;
    }
    EXPECT_EQ(CardRecord().toBytes(), QByteArray(630, ' '));
}

TEST(CardRecord, TextsPaddedOrCut)
{
    std::array<QString, 20> t;
    t[2] = QStringLiteral("ABCDEFGHIJKLMNOPQRST");  // 20 characters into 15
    t[5] = QStringLiteral("750011");
    t[6] = QStringLiteral("Évry");
    const CardRecord r = CardRecord::fromTexts(t);
    EXPECT_EQ(r.field(3), QStringLiteral("ABCDEFGHIJKLMNO"));
    EXPECT_EQ(r.field(6), QStringLiteral("75001"));
    EXPECT_EQ(r.field(7), QStringLiteral("Évry") + QString(36, u' '));
    const QByteArray bytes = r.toBytes();
    EXPECT_EQ(bytes.mid(45, 15), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(bytes.mid(115, 5), "75001");
    EXPECT_EQ(bytes.mid(120, 5), "\xC9vry ");
    const CardRecord back = CardRecord::fromBytes(bytes);
    EXPECT_EQ(back.fields, r.fields);
}

TEST(CardRecord, ForeignCharactersKeepTheLayout)
{
    std::array<QString, 20> t;
    t[2] = QStringLiteral("Győr😀X");
    const QByteArray bytes = CardRecord::fromTexts(t).toBytes();
    ASSERT_EQ(bytes.size(), 630);
    EXPECT_EQ(bytes.mid(45, 7), "Gy?r??X");
    EXPECT_EQ(bytes.mid(60), QByteArray(570, ' '));
}

TEST(CardRecord, ShortBlockGivesBlanks)
{
    const CardRecord r = CardRecord::fromBytes("3 120");
    EXPECT_EQ(r.field(1), QStringLiteral("3 120") + QString(25, u' '));
    EXPECT_EQ(r.field(20), QString(40, u' '));
    EXPECT_EQ(CardRecord::fromBytes({}).toBytes(), QByteArray(630, ' '));
    const QByteArray all = QByteArray(629, 'x') + "\x81";
    EXPECT_EQ(CardRecord::fromBytes(all).toBytes(), all);
}

TEST(CardRecord, MarkerAndPosition)
{
    EXPECT_EQ(tb::positionText(120, 45), QStringLiteral(" 120") + QString(17, u' ') + QStringLiteral(" 45"));
    const CardRecord active = makeCard("DUPONT", "Jean", 3, 123, 456);
    EXPECT_EQ(active.field(1),
              QStringLiteral("3 123") + QString(17, u' ') + QStringLiteral(" 456") + QString(4, u' '));
    EXPECT_EQ(active.marker(), 3);
    EXPECT_TRUE(active.isActive());
    EXPECT_EQ(active.x(), 123);
    EXPECT_EQ(active.y(), 456);

    std::array<QString, 20> t = active.fields;
    t[0][0] = u'0';
    const CardRecord archived = CardRecord::fromTexts(t);
    EXPECT_EQ(archived.marker(), 0);
    EXPECT_FALSE(archived.isActive());
    EXPECT_EQ(archived.x(), 123);
    EXPECT_EQ(archived.y(), 456);

    const tb::PinSpot spot = tb::pinSpotOf(active.toBytes().left(30));
    EXPECT_EQ(spot.marker, 3);
    EXPECT_EQ(spot.x, 123);
    EXPECT_EQ(spot.y, 456);
}

TEST(CardRecord, PinSpotEdges)
{
    // Five-digit coordinates still fit the field.
    const CardRecord big = makeCard("A", "B", 7, 12345, 67890);
    const tb::PinSpot s = tb::pinSpotOf(big.toBytes().left(30));
    EXPECT_EQ(s.marker, 7);
    EXPECT_EQ(s.x, 12345);
    EXPECT_EQ(s.y, 67890);
    EXPECT_EQ(tb::pinSpotOf(QByteArray(30, ' ')).marker, 0);
    EXPECT_EQ(tb::pinSpotOf("x 12").marker, 0);
    EXPECT_EQ(tb::pinSpotOf("5 12").x, 12);
    EXPECT_EQ(tb::pinSpotOf({}).marker, 0);
    const CardRecord frac = makeCard("A", "B", 2, 10.5, -3);
    EXPECT_EQ(tb::pinSpotOf(frac.toBytes().left(30)).x, 10.5);
    EXPECT_EQ(tb::pinSpotOf(frac.toBytes().left(30)).y, -3);
}
