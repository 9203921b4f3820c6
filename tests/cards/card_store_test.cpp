// The database files: records, count, captions, and passes over garbled files.
#include "cards/card_store.h"
#include "support/fixtures.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct StoreTest : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    CardStore store{folder};
    QString records() const { return folder + "lesfiches.dat"; }

    std::vector<long long> visited(long long count) const
    {
        std::vector<long long> ns;
        store.forEachRaw(count, [&](long long n, QByteArrayView b) {
            EXPECT_EQ(b.size(), 630);
            ns.push_back(n);
        });
        return ns;
    }
};

}  // namespace

TEST_F(StoreTest, WriteAndReadRecords)
{
    writeCards(folder, {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20),
                        makeCard("TROIS", "c", 3, 30, 30)});
    EXPECT_EQ(readBytes(folder + "NBFiches.dat"), "3\r\n");
    EXPECT_EQ(QFileInfo(records()).size(), 3 * 630);
    EXPECT_EQ(store.read(2).field(3).trimmed(), "DEUX");
    EXPECT_EQ(store.read(4).toBytes(), QByteArray(630, ' '));
    EXPECT_EQ(store.read(0).toBytes(), QByteArray(630, ' '));

    // Rewriting a card changes its 630 bytes only.
    ASSERT_TRUE(store.write(2, makeCard("DEUXBIS", "b", 2, 20, 20)));
    EXPECT_EQ(QFileInfo(records()).size(), 3 * 630);
    EXPECT_EQ(store.read(1).field(3).trimmed(), "UN");
    EXPECT_EQ(store.read(2).field(3).trimmed(), "DEUXBIS");
    EXPECT_EQ(store.read(3).field(3).trimmed(), "TROIS");

    std::vector<QString> names;
    store.forEach(3, [&](long long, const CardRecord& r) { names.push_back(r.field(3).trimmed()); });
    EXPECT_EQ(names, (std::vector<QString>{"UN", "DEUXBIS", "TROIS"}));
}

TEST_F(StoreTest, WriteBeyondEndExtendsWithBlankCards)
{
    ASSERT_TRUE(store.write(3, makeCard("TROIS", "c", 3, 30, 30)));
    const QByteArray bytes = readBytes(records());
    ASSERT_EQ(bytes.size(), 3 * 630);
    EXPECT_EQ(bytes.left(2 * 630), QByteArray(2 * 630, ' '));
    EXPECT_EQ(store.read(3).field(3).trimmed(), "TROIS");

    // A torn last record: card 5 still lands at its own offset.
    writeBytes(records(), bytes + "xyz");
    ASSERT_TRUE(store.write(5, makeCard("CINQ", "e", 5, 50, 50)));
    const QByteArray after = readBytes(records());
    ASSERT_EQ(after.size(), 5 * 630);
    EXPECT_EQ(after.mid(3 * 630, 3), "xyz");
    EXPECT_EQ(store.read(5).field(3).trimmed(), "CINQ");
    EXPECT_FALSE(store.write(0, CardRecord()));
}

TEST_F(StoreTest, GarbledCountsNeitherHangNorOverrun)
{
    writeCards(folder, {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20)});
    struct Case { QByteArray file; long long count; };
    for (const Case& c : {Case{"abc\r\n", 0}, Case{"-5\r\n", 0}, Case{"999999999\r\n", 999999999},
                          Case{" 2\r\n", 2}, Case{"\" 2\"\r\n", 2}, Case{"", 0}}) {
        writeBytes(folder + "NBFiches.dat", c.file);
        EXPECT_EQ(store.readCount(), c.count) << c.file.constData();
        EXPECT_EQ(visited(store.readCount()).size(), size_t(std::min(c.count, 2LL))) << c.file.constData();
    }
    EXPECT_EQ(store.cardsToVisit(-5), 0);
    EXPECT_EQ(store.cardsToVisit(999999999), 2);
    EXPECT_EQ(store.cardsToVisit(1), 1);
}

TEST_F(StoreTest, CountShorterFileAndMissingFiles)
{
    bool exists = true;
    EXPECT_EQ(store.readCountText(&exists), "");
    EXPECT_FALSE(exists);
    EXPECT_EQ(store.recordsInFile(), 0);
    EXPECT_TRUE(visited(10).empty());

    // The count says 5, the file holds 2: the missing cards read as blank.
    writeCards(folder, {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20)});
    ASSERT_TRUE(store.writeCountText("5"));
    EXPECT_EQ(store.readCount(), 5);
    EXPECT_EQ(visited(5), (std::vector<long long>{1, 2}));
    EXPECT_EQ(store.read(4).toBytes(), QByteArray(630, ' '));
    ASSERT_TRUE(store.writeCountText("12"));
    EXPECT_EQ(readBytes(folder + "NBFiches.dat"), "12\r\n");
}

TEST_F(StoreTest, TornFileReadUpToLastWholeRecordAndNeverCut)
{
    writeCards(folder, {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20)});
    const QByteArray torn = readBytes(records()) + QByteArray(100, 'z');
    writeBytes(records(), torn);
    EXPECT_EQ(store.recordsInFile(), 2);
    EXPECT_EQ(visited(3), (std::vector<long long>{1, 2}));
    store.forEach(3, [](long long, const CardRecord&) {});
    EXPECT_EQ(store.read(3).field(1), QString(100 > 30 ? 30 : 100, u'z'));
    EXPECT_EQ(readBytes(records()), torn);
}

TEST_F(StoreTest, PassesCrossBlockBoundaries)
{
    // 2500 records: three blocks, every number once and in order.
    QByteArray many;
    for (int i = 1; i <= 2500; ++i)
        many += makeCard(QString::number(i), "x", 1, i % 900, 0).toBytes();
    writeBytes(records(), many);
    long long expected = 1;
    bool inOrder = true;
    store.forEach(2500, [&](long long n, const CardRecord& r) {
        inOrder = inOrder && n == expected && r.field(3).trimmed() == QString::number(n);
        ++expected;
    });
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(expected, 2501);
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
    EXPECT_EQ(store.sideFile("photo", 3, ".jpg"), folder + "photo3.jpg");
}

TEST(StoreTemplates, NewDatabaseStartsFromTheTemplates)
{
    TempProgramFolder program;
    TempDatabase db(program.path());
    CardStore store(db.path());
    EXPECT_EQ(store.readCount(), 0);
    EXPECT_EQ(store.readCaptions().size(), 10);
}
