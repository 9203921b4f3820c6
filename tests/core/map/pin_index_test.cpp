// The pin index: pins and map clicks answered without reading the records.
#include "core/cards/card_store.h"
#include "core/map/pin_index.h"
#include "core/map/pins.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;
using Hits = std::vector<long long>;

namespace {
struct PinIndexTest : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    CardStore store{folder};
    tb::PinIndex index;
};

QImage whiteMap()
{
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}
}  // namespace

TEST_F(PinIndexTest, ClicksFindActiveCardsInTheStrictSquare)
{
    writeCards(folder, {makeCard("A", "a", 3, 100, 100), makeCard("B", "b", 0, 100, 100),
                        makeCard("C", "c", 1, 300, 300), makeCard("D", "d", 7, 103, 97)});
    ASSERT_TRUE(index.load(store, 4));
    EXPECT_EQ(index.cardsAt(100, 100), (Hits{1, 4}));
    EXPECT_EQ(index.cardsAt(95, 95), (Hits{1}));
    EXPECT_EQ(index.cardsAt(94, 100), (Hits{}));
    EXPECT_EQ(index.cardsAt(108, 92), (Hits{4}));
    // Zones: corners in any order, bounds excluded.
    EXPECT_EQ(index.cardsInside(310, 310, 90, 90), (Hits{1, 3, 4}));
    EXPECT_EQ(index.cardsInside(100, 50, 200, 150), (Hits{4}));
    // A card stored elsewhere moves its pin; a count past the file lists what exists.
    index.set(1, makeCard("A", "a", 0, 100, 100));
    EXPECT_EQ(index.cardsAt(100, 100), (Hits{4}));
    ASSERT_TRUE(index.load(store, 999));
    EXPECT_EQ(index.cardsAt(300, 300), (Hits{3}));
}

TEST_F(PinIndexTest, DrawsActiveCardsAndNothingForHugeOrForeignPositions)
{
    std::vector<CardRecord> cards{makeCard("A", "a", 3, 120, 45), makeCard("B", "b", 0, 200, 100),
                                  makeCard("C", "c", 6, 250, 150), makeCard("D", "d", 1, 60, 60)};
    cards[3].fields[0][0] = u'x';
    writeCards(folder, cards);
    ASSERT_TRUE(index.load(store, 4));
    QImage img = whiteMap();
    index.drawAll(img);
    EXPECT_EQ(img.pixel(120, 45), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(194, 100), qRgb(255, 255, 255));  // archived
    EXPECT_EQ(img.pixel(54, 60), qRgb(255, 255, 255));    // marker "x"
    EXPECT_EQ(img.pixel(244, 150), qRgb(128, 128, 255));

    // Positions no picture holds: no pin, no crash, and the rest still drawn.
    const std::pair<QString, QString> spots[] = {
        {" 100", " 2147483640"}, {" 9e99", " 9e99"}, {"-2147483", "-2147483640"}, {" 1e38", " -1e38"}};
    for (const auto& [x, y] : spots) {
        CardRecord odd = makeCard("E", "e", 1, 0, 0);
        const QString field1 = (u'1' + x).leftJustified(30 - y.size()) + y;
        odd.fields[0] = field1;
        writeCards(folder, {cards[0], odd});
        ASSERT_TRUE(index.load(store, 2));
        QImage pic = whiteMap();
        index.drawAll(pic);
        EXPECT_EQ(pic.pixel(120, 45), qRgb(0, 0, 255)) << field1.toStdString();
        EXPECT_EQ(index.cardsAt(100, 2147483640.0), Hits{}) << field1.toStdString();
    }
}

TEST(Pins, CrowdedMapsLookAsIfEveryPinWereDrawnInCardOrder)
{
    // Many pins on few centres, some past the edges.
    std::vector<tb::PinSpot> spots;
    for (int i = 0; i < 3000; ++i)
        spots.push_back({1 + i % 7, double((i * 37) % 40) - 5 + (i % 3) * 0.4, double((i * 11) % 30) - 5});
    QImage each = whiteMap(), all = whiteMap();
    for (const tb::PinSpot& s : spots)
        tb::drawPin(each, s.marker, s.x, s.y);
    tb::drawPins(all, spots);
    EXPECT_EQ(all, each);
}
