// The record file: whole records written in place or not at all, passes in
// blocks, captions.
#include "core/cards/card_store.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct StoreTest : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    CardStore store{folder};
    QString records() const { return folder + "lesfiches.dat"; }
    QString surname(long long n) const { return store.read(n)->field(3).trimmed(); }
    void writeTwo() { writeCards(folder, {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20)}); }
};

}  // namespace

TEST_F(StoreTest, WriteReadRewriteAndExtendRecords)
{
    writeTwo();
    EXPECT_EQ(readBytes(folder + "NBFiches.dat"), "2\r\n");
    // Rewriting a card changes its 630 bytes only; card 0 and cards past the end read blank.
    ASSERT_TRUE(store.write(2, makeCard("DEUXBIS", "b", 2, 20, 20)));
    EXPECT_EQ(readBytes(records()).size(), 2 * 630);
    EXPECT_EQ(surname(1) + surname(2), "UNDEUXBIS");
    EXPECT_EQ(store.read(3)->toBytes(), QByteArray(630, ' '));
    EXPECT_EQ(store.read(0)->toBytes(), QByteArray(630, ' '));
    EXPECT_FALSE(store.write(0, CardRecord()));
    // Past the end, even after a torn record: blank cards up to the card, written at its own offset.
    writeBytes(records(), readBytes(records()) + "xyz");
    ASSERT_TRUE(store.write(5, makeCard("CINQ", "e", 5, 50, 50)));
    const QByteArray after = readBytes(records());
    ASSERT_EQ(after.size(), 5 * 630);
    EXPECT_EQ(after.mid(2 * 630, 2 * 630), "xyz" + QByteArray(2 * 630 - 3, ' '));
    EXPECT_EQ(surname(5), "CINQ");
}

TEST_F(StoreTest, CountIsAWholeNumberOrInvalid)
{
    EXPECT_FALSE(store.readCount().exists);
    struct Case { QByteArray file; bool valid; long long value; };
    for (const Case& c : {Case{"abc\r\n", false, 0}, Case{"-5\r\n", false, 0}, Case{"", false, 0},
                          Case{" 2\r\n", true, 2}, Case{"\" 2\"\r\n", true, 2}, Case{"999999999\r\n", true, 999999999}}) {
        writeBytes(folder + "NBFiches.dat", c.file);
        const CardStore::CountReading r = store.readCount();
        EXPECT_TRUE(r.exists);
        EXPECT_EQ(r.valid, c.valid) << c.file.constData();
        EXPECT_EQ(r.value, c.value) << c.file.constData();
    }
    ASSERT_TRUE(store.writeCount(12));
    EXPECT_EQ(readBytes(folder + "NBFiches.dat"), "12\r\n");
}

TEST_F(StoreTest, PassesCrossBlocksAndStopAtTheLastWholeRecord)
{
    QByteArray many;
    for (int i = 1; i <= 9000; ++i)
        many += makeCard(QString::number(i), "x", 1, 0, 0).toBytes();
    writeBytes(records(), many + QByteArray(100, 'z'));  // a torn last record
    long long seen = 0, wrong = 0;
    ASSERT_TRUE(store.forEachRaw(9999, [&](long long n, QByteArrayView r) {
        wrong += (++seen != n || CardRecord::fromBytes(r).field(3).trimmed() != QString::number(n));
    }));
    EXPECT_EQ(seen, 9000);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(store.recordsInFile(), 9000);
    EXPECT_EQ(readBytes(records()).size(), 9000 * 630 + 100);  // never cut
}

TEST_F(StoreTest, AFailedWriteLeavesTheFileAsItWas)
{
    writeTwo();
    const QByteArray before = readBytes(records());
    // Room for the two cards and half of a third: the third lands whole or not at all.
    EXPECT_FALSE(underFileSizeLimit(2 * 630 + 316, [&] { return bool(store.write(3, makeCard("TROIS", "c", 1, 1, 1))); }));
    EXPECT_EQ(readBytes(records()), before);
    EXPECT_FALSE(underFileSizeLimit(2 * 630 + 316, [&] {
        return bool(store.writeRecords(2, makeCard("A", "", 1, 1, 1).toBytes() + makeCard("B", "", 1, 1, 1).toBytes()));
    }));
    EXPECT_EQ(readBytes(records()), before);
    // The gap before a far card is filled block by block, not in memory at once.
    EXPECT_FALSE(underFileSizeLimit(1 << 20, [&] { return bool(store.write(999999999, CardRecord())); }));
    EXPECT_EQ(readBytes(records()), before);

    // A record file replaced by a folder is an error, never a blank card.
    QFile::remove(records());
    QDir().mkdir(records());
    const tb::Status s = store.write(1, makeCard("UN", "a", 1, 1, 1));
    ASSERT_FALSE(s);
    EXPECT_TRUE(s.error().message().startsWith("Erreur n° 75 : "));
    EXPECT_FALSE(store.read(1));
    EXPECT_FALSE(store.forEachRaw(1, [](long long, QByteArrayView) {}));
}

TEST_F(StoreTest, Captions)
{
    const QStringList captions{"Un", "Deux", "Trois", "Quatre", "Cinq", "Six", "Sept", "Huit", "Neuf", "Dix"};
    ASSERT_TRUE(store.writeCaptions(captions));
    EXPECT_TRUE(readBytes(folder + "StrFic.txt").startsWith("\"Un\"\r\n\"Deux\"\r\n"));
    EXPECT_EQ(store.readCaptions(), captions);
    writeBytes(folder + "StrFic.txt", "\"A\"\n\"B\"\n");
    EXPECT_EQ(store.readCaptions(), (QStringList{"A", "B"}));
}
