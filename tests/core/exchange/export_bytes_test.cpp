// The vCard and CSV exports of a varied database, byte for byte: every byte
// of the code page in every field, texts to escape, quote and fold, dates,
// note lines, odd pins, archived cards and photos.
#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "core/exchange/csv.h"
#include "core/exchange/vcard.h"
#include "support/fixtures.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Pieces that each exercise a case of the writers; the rest of a field is
// random bytes of the whole code page, or blanks.
const char* const kPieces[] = {
    "DUPONT", "Hélène", "3, rue \"Haute\"", "a;b\\c,d", "ligne\r\nsuite\n", "\t tab\t", "  deux  blancs ",
    "\xA0insécable\xA0", "12/03/1975", "31/02/1975", "29/02/2000", "1/03/1975", "12/03/1975 ", "00/00/0000",
    "Profession: vue", "Société : SARL", ":seul", "Œuvre «Ÿ» €…", "chef  de  rang", "\x81\x8D\x8F\x90\x9D",
    "éééééééééééééééééééééééééééééééééééééééé", "\"\"", ",", ";", "\\", "\n", "\r", " ",
};

// A deterministic generator: the expected digests never move.
struct Lcg {
    quint64 state = 20240611;
    quint32 next()
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(state >> 33);
    }
};

QByteArray varied(Lcg& r, int width)
{
    QByteArray f;
    switch (r.next() % 5) {
    case 0:
        break;
    case 1:
        for (int i = 0; i < width; ++i)
            f += char(r.next() % 256);
        break;
    default:
        while (f.size() < width && r.next() % 3)
            f += kPieces[r.next() % std::size(kPieces)];
        break;
    }
    f = f.left(width);
    return f + QByteArray(width - f.size(), ' ');
}

QByteArray pinField(Lcg& r)
{
    static const char* const kPins[] = {"1 120                  45", "0 300                  200",
                                        "3 10.5                 10.25", "  7                    7",
                                        "\xA0" "12     \xE9             -3", "9-4.125                1e3",
                                        "", "5"};
    const QByteArray f = QByteArray(kPins[r.next() % std::size(kPins)]).left(30);
    return f + QByteArray(30 - f.size(), ' ');
}

std::string sha(const QString& path)
{
    return QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256).toHex().left(16).toStdString();
}

TEST(ExportBytes, VCardAndCsvFilesOfEveryKindOfFieldAreWrittenByteForByte)
{
    TempProgramFolder program;
    TempDatabase base(program.path());
    Lcg r;
    QByteArray records;
    constexpr int kCards = 600;
    for (int n = 0; n < kCards; ++n) {
        records += pinField(r);
        for (int i = 1; i < CardRecord::kFieldCount; ++i)
            records += varied(r, CardRecord::kWidths[size_t(i)]);
    }
    writeBytes(base.file(QStringLiteral("lesfiches.dat")), records);
    writeBytes(base.file(QStringLiteral("NBFiches.dat")), QByteArray::number(kCards));
    writeBytes(base.file(QStringLiteral("photo3.jpg")), QByteArray("\xFF\xD8\xFF photo trois", 15));
    writeBytes(base.file(QStringLiteral("PHOTO5.JPG")), QByteArray(700, 'P'));
    writeBytes(base.file(QStringLiteral("photo08.jpg")), "pas la fiche 8");
    auto db = tb::Database::open(base.path());
    ASSERT_TRUE(db);
    ASSERT_EQ(db.value()->count(), kCards);

    const QString vcf = program.file(QStringLiteral("cartes.vcf")), csv = program.file(QStringLiteral("cartes.csv"));
    const auto active = tb::writeVCardFile(*db.value(), vcf, false);
    ASSERT_TRUE(active);
    EXPECT_EQ(sha(vcf), "150b9b4e32e4525d");
    const auto all = tb::writeVCardFile(*db.value(), vcf, true);
    ASSERT_TRUE(all);
    EXPECT_EQ(*all, kCards);
    EXPECT_EQ(sha(vcf), "4ae395c5b825e720");
    ASSERT_TRUE(tb::writeCsvFile(*db.value(), csv, false));
    EXPECT_EQ(sha(csv), "99ed2af6df44b012");
    ASSERT_TRUE(tb::writeCsvFile(*db.value(), csv, true));
    EXPECT_EQ(sha(csv), "40339cc90ca280e3");
    EXPECT_LT(*active, kCards);
    EXPECT_GT(*active, 0);
}

}  // namespace

// Exports of more cards than one block (made on two threads) hold every
// card once, in card order, with the bytes each card gives alone.
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
