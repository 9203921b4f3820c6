#include "cards/card_creation.h"
#include "cards/card_store.h"
#include "fixtures.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

std::array<QString, CardRecord::kFieldCount> newCardTexts()
{
    std::array<QString, CardRecord::kFieldCount> t;
    t[0] = QStringLiteral("5 120                  45");
    t[1] = QStringLiteral("Madame");
    t[2] = QStringLiteral("lefèvre");
    t[3] = QStringLiteral("Anne-Sophie");
    t[4] = QString(45, u'r');
    t[5] = QStringLiteral("170001");
    t[6] = QStringLiteral("LA ROCHELLE");
    return t;
}

class CardCreation : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};
    CardStore store{db.path()};
};

TEST_F(CardCreation, ThirteenthCardOfTwelve)
{
    std::vector<CardRecord> cards;
    for (int i = 1; i <= 12; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(i), QStringLiteral("X"), 1, i, i));
    writeCards(db.path(), cards);
    writeBytes(db.file("F12.txt"), "note de la fiche 12");
    writeBytes(db.file("F.txt"), "modele");

    QString count = QStringLiteral("12");
    auto texts = newCardTexts();
    ASSERT_TRUE(tb::createCard(store, 13, texts, count));

    EXPECT_EQ(count, "13");
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), "13\r\n");
    EXPECT_EQ(QFile(db.file("lesfiches.dat")).size(), 13 * 630);
    const CardRecord r = store.read(13);
    EXPECT_EQ(r.field(3), QStringLiteral("LEFÈVRE        "));
    EXPECT_EQ(r.field(4), QStringLiteral("Anne-Sophie    "));
    EXPECT_EQ(r.field(5), QString(40, u'r'));
    EXPECT_EQ(r.field(6), QStringLiteral("17000"));
    EXPECT_EQ(r.marker(), 5);
    EXPECT_EQ(texts[2], QStringLiteral("LEFÈVRE"));
    // Card 12 is untouched.
    EXPECT_EQ(store.read(12).field(3).trimmed(), "NOM12");
    EXPECT_EQ(readBytes(db.file("F12.txt")), "note de la fiche 12");
    EXPECT_EQ(readBytes(db.file("F13.txt")), "modele");
    for (const char* name : {"F13.xls", "R13.txt", "I13.txt", "M13.txt"})
        EXPECT_TRUE(QFile::exists(db.file(name))) << name;
    EXPECT_EQ(readBytes(db.file("F13.xls")), readBytes(db.file("F.xls")));
}

TEST_F(CardCreation, FirstCardOfNewDatabase)
{
    QString count = QStringLiteral("0");
    auto texts = newCardTexts();
    ASSERT_TRUE(tb::createCard(store, 1, texts, count));
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), "1\r\n");
    const QByteArray bytes = readBytes(db.file("lesfiches.dat"));
    ASSERT_EQ(bytes.size(), 630);
    EXPECT_EQ(bytes.mid(45, 15), QByteArray("LEF\xC8VRE        "));
    EXPECT_EQ(bytes.mid(115, 5), "17000");
    for (const char* name : {"F1.xls", "F1.txt", "R1.txt", "I1.txt", "M1.txt"})
        EXPECT_TRUE(QFile::exists(db.file(name))) << name;
}

TEST_F(CardCreation, HigherCountIsKeptAndRecordReplaced)
{
    // A debt calculation wrote record 3 earlier; the count stays above it.
    QString count = QStringLiteral("5");
    auto texts = newCardTexts();
    ASSERT_TRUE(tb::createCard(store, 3, texts, count));
    EXPECT_EQ(count, "5");
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), "5\r\n");
}

TEST_F(CardCreation, NoCardNumberWritesNothing)
{
    const QByteArray before = readBytes(db.file("NBFiches.dat"));
    QString count = QStringLiteral("4");
    auto texts = newCardTexts();
    EXPECT_FALSE(tb::createCard(store, 0, texts, count));
    EXPECT_FALSE(tb::writeCardTexts(store, -2, texts));
    EXPECT_EQ(count, "4");
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), before);
    EXPECT_FALSE(QFile::exists(db.file("lesfiches.dat")));
    EXPECT_FALSE(QFile::exists(db.file("F0.txt")));
}

}  // namespace
