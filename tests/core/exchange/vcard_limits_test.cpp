// A vCard file from the outside world cannot exhaust the memory or stall the
// import: each size beyond its limit is refused with a message naming it, and
// big or hostile files are read in a few seconds.
#include "core/exchange/vcard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList kCaptions = tb::exchangeCaptions({"Observations"});

QByteArray oneCard(const QByteArray& inside)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Dupont;Jean\r\n" + inside + "END:VCARD\r\n";
}

TEST(VCardLimits, OversizeLinesValuesAndFilesAreRefusedNamingTheLimit)
{
    const auto line = tb::readVCards(oneCard("NOTE:" + QByteArray(17 << 20, 'a') + "\r\n"), kCaptions);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].field(3), "Dupont");
    EXPECT_EQ(line[0].notKept, QStringList("ligne 4 de plus de 16 Mo (NOTE), non reprise"));

    const auto value = tb::readVCards(oneCard("NOTE:" + QByteArray(70 << 10, 'a') + "\r\n"), kCaptions);
    ASSERT_EQ(value.size(), 1u);
    EXPECT_TRUE(value[0].field(11).isEmpty());
    EXPECT_EQ(value[0].notKept, QStringList("note : valeur de plus de 64 Ko à la ligne 4"));

    // A file past the limit is refused before it is read (a sparse file here).
    QTemporaryDir folder;
    const QString path = folder.filePath("enorme.vcf");
    {
        QFile big(path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(oneCard({}));
        ASSERT_TRUE(big.resize(tb::kMaxVCardFileBytes + 1));
    }
    const tb::VCardReading refused = tb::readVCardPath(path, kCaptions);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->message(), " Ce fichier fait plus de 256 Mo : il n'est pas importé.");
    EXPECT_TRUE(refused.contacts.empty());
    const tb::VCardReading missing = tb::readVCardPath(folder.filePath("absent.vcf"), kCaptions);
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->number, tb::kErrorFileNotFound);
}

TEST(VCardLimits, FiftyMegabytesAndHostileFilesAreReadInAFewSeconds)
{
    QByteArray many;
    for (int i = 0; many.size() < (50 << 20); ++i)
        many += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Durand" + QByteArray::number(i)
                + ";Hélène;;Mme;\r\nADR;TYPE=HOME:;;3 rue de la Gare;Bordeaux;;33000;France\r\n"
                  "TEL;TYPE=CELL:06 12 34 56 78\r\nEMAIL:h@example.fr\r\nNOTE:Observations: "
                + QByteArray(300, 'x') + "\r\nEND:VCARD\r\n";
    // A folded line with no colon repeated, a head of decomposed accents,
    // parameters of endless quotes, all within a card.
    QByteArray folded = "BEGIN:VCARD\r\nN:A\r\nX";
    for (int i = 0; i < (1 << 20); ++i)
        folded += "\r\n xxxxxxxx";
    const QByteArray accents = oneCard("X-" + QByteArray(8 << 20, 'e').replace("ee", "e\xCC\x81") + ":1\r\n");
    const QByteArray quotes = oneCard("TEL;TYPE=\"" + QByteArray(8 << 20, '"') + ":1\r\n");
    const QByteArray lines = QByteArray(4 << 20, '\n') + oneCard({});

    QElapsedTimer clock;
    clock.start();
    const tb::VCardReading big = tb::readVCardFile(many, kCaptions);
    const qint64 bigMs = clock.restart();
    EXPECT_FALSE(big.error);
    EXPECT_GT(big.contacts.size(), 90000u);
    EXPECT_EQ(big.contacts.back().field(11), QString(300, u'x'));
    for (const QByteArray* hostile : std::initializer_list<const QByteArray*>{&folded, &accents, &quotes, &lines}) {
        const tb::VCardReading r = tb::readVCardFile(*hostile, kCaptions);
        EXPECT_EQ(r.contacts.size(), 1u);
    }
    const qint64 hostileMs = clock.elapsed();
    // About 4 s alone, three times that on a busy machine; a quadratic step
    // would take minutes.
    EXPECT_LT(bigMs, 30000) << "50 Mo";
    EXPECT_LT(hostileMs, 30000);
    std::printf("50 Mo read in %lld ms, hostile files in %lld ms\n", bigMs, hostileMs);
}

}  // namespace
