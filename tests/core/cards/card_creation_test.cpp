// Creating a card: the record, the count and the card's own side files.
#include "core/cards/card_creation.h"
#include "core/cards/card_store.h"
#include "fixtures.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class CardCreation : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};
    CardStore store{db.path()};
    std::array<QString, CardRecord::kFieldCount> texts{"5 120                  45", "Madame", "lefèvre", "Anne-Sophie",
                                                       QString(45, u'r'), "170001", "LA ROCHELLE"};
};

TEST_F(CardCreation, ThirdCardOfTwo)
{
    writeCards(db.path(), {makeCard("UN", "X", 1, 1, 1), makeCard("DEUX", "X", 1, 2, 2)});
    writeBytes(db.file("F2.txt"), "note de la fiche 2");
    writeBytes(db.file("F3.txt"), "ancienne note");
    writeBytes(db.file("F.txt"), "modele");
    QString count = QStringLiteral("2");
    ASSERT_TRUE(tb::createCard(store, 3, texts, count));
    EXPECT_EQ(count, "3");
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), "3\r\n");
    const QByteArray bytes = readBytes(db.file("lesfiches.dat"));
    ASSERT_EQ(bytes.size(), 3 * 630);
    // Surname in capitals (in the texts too), every field cut to its width, in the code page.
    EXPECT_EQ(bytes.mid(2 * 630, 120), "5 120                  45     Madame         LEF\xC8VRE        Anne-Sophie    "
                                           + QByteArray(40, 'r') + "17000");
    EXPECT_EQ(texts[2], QStringLiteral("LEFÈVRE"));
    // Card 2 and its note are untouched; card 3's side files are the templates, replacing old ones.
    EXPECT_EQ(store.read(2).field(3).trimmed(), "DEUX");
    EXPECT_EQ(readBytes(db.file("F2.txt")), "note de la fiche 2");
    EXPECT_EQ(readBytes(db.file("F3.txt")), "modele");
    EXPECT_EQ(readBytes(db.file("F3.xls")), readBytes(db.file("F.xls")));
    for (const char* name : {"R3.txt", "I3.txt", "M3.txt"})
        EXPECT_TRUE(QFile::exists(db.file(name))) << name;
}

TEST_F(CardCreation, CountRisesOnlyWhenLower)
{
    QString count = QStringLiteral("0");
    ASSERT_TRUE(tb::createCard(store, 1, texts, count));
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), "1\r\n");
    EXPECT_EQ(readBytes(db.file("lesfiches.dat")).size(), 630);
    // A debt calculation wrote record 3 earlier; the count stays above it.
    count = QStringLiteral("5");
    ASSERT_TRUE(tb::createCard(store, 3, texts, count));
    EXPECT_EQ(count, "5");
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), "5\r\n");
}

TEST_F(CardCreation, NoCardNumberWritesNothing)
{
    const QByteArray before = readBytes(db.file("NBFiches.dat"));
    QString count = QStringLiteral("4");
    EXPECT_FALSE(tb::createCard(store, 0, texts, count));
    EXPECT_FALSE(tb::writeCardTexts(store, -2, texts));
    EXPECT_EQ(count, "4");
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), before);
    EXPECT_FALSE(QFile::exists(db.file("lesfiches.dat")));
    EXPECT_FALSE(QFile::exists(db.file("F0.txt")));
}

}  // namespace
