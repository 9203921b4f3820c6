// The database files: records, count, captions, and passes over garbled files.
#include "core/cards/card_store.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct StoreTest : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    CardStore store{folder};
    QString records() const { return folder + "lesfiches.dat"; }
    QString surname(long long n) const { return store.read(n).field(3).trimmed(); }

    std::vector<long long> visited(long long count) const
    {
        std::vector<long long> ns;
        store.forEachRaw(count, [&](long long n, QByteArrayView b) {
            EXPECT_EQ(b.size(), 630);
            ns.push_back(n);
        });
        return ns;
    }
    void writeTwo() { writeCards(folder, {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20)}); }
};

}  // namespace

TEST_F(StoreTest, WriteReadRewriteAndExtendRecords)
{
    writeTwo();
    EXPECT_EQ(readBytes(folder + "NBFiches.dat"), "2\r\n");
    ASSERT_TRUE(store.writeCountText("12"));
    EXPECT_EQ(readBytes(folder + "NBFiches.dat"), "12\r\n");
    // Rewriting a card changes its 630 bytes only; card 0 and cards past the end read blank.
    ASSERT_TRUE(store.write(2, makeCard("DEUXBIS", "b", 2, 20, 20)));
    EXPECT_EQ(readBytes(records()).size(), 2 * 630);
    EXPECT_EQ(surname(1), "UN");
    EXPECT_EQ(surname(2), "DEUXBIS");
    EXPECT_EQ(store.read(3).toBytes(), QByteArray(630, ' '));
    EXPECT_EQ(store.read(0).toBytes(), QByteArray(630, ' '));
    EXPECT_FALSE(store.write(0, CardRecord()));
    // Past the end, even after a torn record: blank cards up to the card, written at its own offset.
    writeBytes(records(), readBytes(records()) + "xyz");
    ASSERT_TRUE(store.write(5, makeCard("CINQ", "e", 5, 50, 50)));
    const QByteArray after = readBytes(records());
    ASSERT_EQ(after.size(), 5 * 630);
    EXPECT_EQ(after.mid(2 * 630, 2 * 630), "xyz" + QByteArray(2 * 630 - 3, ' '));
    EXPECT_EQ(surname(5), "CINQ");
}

TEST_F(StoreTest, GarbledCountsShortFilesAndMissingFilesNeitherHangNorOverrun)
{
    bool exists = true;
    EXPECT_EQ(store.readCountText(&exists), "");
    EXPECT_FALSE(exists);
    EXPECT_TRUE(visited(10).empty());
    writeTwo();
    struct Case { QByteArray file; long long count; };
    for (const Case& c : {Case{"abc\r\n", 0}, Case{"-5\r\n", 0}, Case{"999999999\r\n", 999999999},
                          Case{" 2\r\n", 2}, Case{"\" 2\"\r\n", 2}, Case{"", 0}, Case{"5\r\n", 5}}) {
        writeBytes(folder + "NBFiches.dat", c.file);
        EXPECT_EQ(store.readCount(), c.count) << c.file.constData();
        EXPECT_EQ(visited(store.readCount()).size(), size_t(std::min(c.count, 2LL))) << c.file.constData();
    }
    EXPECT_EQ(store.cardsToVisit(-5), 0);
    EXPECT_EQ(store.cardsToVisit(999999999), 2);

    // A torn last record: passes stop at the last whole record and never cut the file.
    const QByteArray torn = readBytes(records()) + QByteArray(100, 'z');
    writeBytes(records(), torn);
    EXPECT_EQ(store.recordsInFile(), 2);
    EXPECT_EQ(visited(3), (std::vector<long long>{1, 2}));
    EXPECT_EQ(store.read(3).field(1), QString(30, u'z'));
    EXPECT_EQ(readBytes(records()), torn);
}

TEST_F(StoreTest, PassesCrossBlockBoundaries)
{
    // 2500 records: three blocks, every number once, in order, with its own record.
    QByteArray many;
    for (int i = 1; i <= 2500; ++i)
        many += makeCard(QString::number(i), "x", 1, 0, 0).toBytes();
    writeBytes(records(), many);
    long long seen = 0, wrong = 0;
    store.forEach(2500, [&](long long n, const CardRecord& r) {
        wrong += (++seen != n || r.field(3).trimmed() != QString::number(n));
    });
    EXPECT_EQ(seen, 2500);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(visited(1500).size(), 1500u);
}

TEST_F(StoreTest, CaptionsAndSideFiles)
{
    const QStringList captions{"Un", "Deux", "Trois", "Quatre", "Cinq", "Six", "Sept", "Huit", "Neuf", "Dix"};
    ASSERT_TRUE(store.writeCaptions(captions));
    EXPECT_TRUE(readBytes(folder + "StrFic.txt").startsWith("\"Un\"\r\n\"Deux\"\r\n"));
    EXPECT_EQ(store.readCaptions(), captions);
    writeBytes(folder + "StrFic.txt", "\"A\"\n\"B\"\n");
    EXPECT_EQ(store.readCaptions(), (QStringList{"A", "B"}));
    EXPECT_EQ(store.sideFile("F", 12, ".txt"), folder + "F12.txt");

    TempProgramFolder program;  // a new database starts from the templates
    const CardStore fresh(TempDatabase(program.path()).path());
    EXPECT_EQ(fresh.readCount(), 0);
    EXPECT_EQ(fresh.readCaptions().size(), 10);
}
