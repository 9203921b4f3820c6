// Exports of more cards than one block (made on two threads) hold every
// card once, in card order, with the bytes each card gives alone.
#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "core/exchange/csv.h"
#include "core/exchange/vcard.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(ExportsOfManyCards, HoldEveryCardInOrderAsEachCardAlone)
{
    TempProgramFolder program;
    TempDatabase small(program.path()), large(program.path(), QStringLiteral("Grande"));
    const QStringList names = {"DUPONT", "Hélène; a,b", "ŒUVRE «Ÿ»", "ligne\\fin", "  BLANCS  ", ""};
    std::vector<CardRecord> cards;
    for (int i = 0; i < 100; ++i)
        cards.push_back(makeCard(names[i % names.size()] + QString::number(i), "Zoé", i % 7 ? 1 : 0, i, 2 * i,
                                 QString::number(17000 + i), "LA ROCHELLE"));
    writeCards(small.path(), cards);
    // Three blocks and a part: the other thread's block, its photo, the end.
    std::vector<CardRecord> many;
    for (int k = 0; k < 90; ++k)
        many.insert(many.end(), cards.begin(), cards.end());
    writeCards(large.path(), many);
    const QByteArray photo("\xFF\xD8\xFF photo", 10);
    writeBytes(large.file(QStringLiteral("photo5000.jpg")), photo);
    auto one = std::move(tb::Database::open(small.path())).value();
    auto db = std::move(tb::Database::open(large.path())).value();

    const QString vcf = program.file(QStringLiteral("cartes.vcf"));
    ASSERT_EQ(*tb::writeVCardFile(*db, vcf, true), (long long)many.size());
    QByteArray expected;
    const QStringList captions = tb::exchangeCaptions(db->captions());
    for (size_t n = 1; n <= many.size(); ++n)
        expected += tb::vCardOf(many[n - 1], captions, n == 5000 ? photo : QByteArray());
    EXPECT_TRUE(readBytes(vcf) == expected);

    // The active cards' rows: the small base's, over and over.
    for (bool archived : {false, true}) {
        const QString csv = program.file(QStringLiteral("cartes.csv"));
        const long long rows = *tb::writeCsvFile(*one, csv, archived);
        const QByteArray alone = readBytes(csv);
        const qsizetype header = alone.indexOf("\r\n") + 2;
        ASSERT_EQ(*tb::writeCsvFile(*db, csv, archived), rows * 90);
        EXPECT_TRUE(readBytes(csv) == alone.left(header) + alone.mid(header).repeated(90)) << archived;
    }
}
