// A CSV or vCard file from the outside world cannot exhaust the memory or
// stall the import: each size beyond its limit is refused with a message
// naming it, never aborting, and big or hostile files are read in seconds.
#include "core/exchange/csv.h"
#include "core/exchange/vcard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString csvRefusal(const QByteArray& file)
{
    const tb::Result<tb::CsvTable> t = tb::parseCsv(file, tb::CsvEncoding::Utf8);
    return t ? QString() : t.error().message();
}

TEST(CsvLimits, AFileBeyondALimitIsRefusedWithThatLimit)
{
    EXPECT_EQ(csvRefusal(QByteArray(tb::kCsvMaxBytes + 1, 'a')), "Le fichier CSV dépasse 64 Mo : il n'est pas lu.");
    // Quoted or not, a value is counted as it grows, not after.
    const QByteArray longValue(tb::kCsvMaxValueChars + 1, 'x');
    for (const QByteArray& file : {"Nom\nA\n" + longValue + "\n", "Nom\nA\n\"" + longValue + "\"\n",
                                   "Nom\nA\n\"" + longValue})
        EXPECT_EQ(csvRefusal(file),
                  "Une valeur de la ligne 3 du fichier CSV dépasse 65536 caractères : le fichier n'est pas lu.");
    EXPECT_EQ(csvRefusal("Nom\n\"a\nb\"," + QByteArray(tb::kCsvMaxColumns, ',') + "\n"),
              "La ligne 2 du fichier CSV a plus de 1000 colonnes : le fichier n'est pas lu.");
    QByteArray rows = "Nom\n";
    for (qsizetype i = 0; i < tb::kCsvMaxRows; ++i)
        rows += "a\n";
    EXPECT_EQ(csvRefusal(rows), "Le fichier CSV a plus de 1000000 lignes : il n'est pas lu.");
    rows.chop(2);
    EXPECT_EQ(csvRefusal(rows), QString());
}

TEST(CsvLimits, FiftyMegabytesAreReadInSecondsAndTenTimesTheFileTakesAboutTenTimesAsLong)
{
    // An address book as Outlook writes it: quoted values, doubled quotes, line breaks in notes.
    const auto timeToRead = [](qsizetype megabytes) {
        QByteArray file = "\"Title\",\"First Name\",\"Last Name\",\"Company\",\"Home Street\",\"Home City\","
                          "\"Home Postal Code\",\"Home Phone\",\"Mobile Phone\",\"E-mail Address\",\"Notes\"\r\n";
        const QByteArray row = "\"Mme\",\"Anne\",\"MARTIN\",\"Martin SARL\",\"3 rue des Lilas\",\"Privas\",\"07000\","
                               "\"04 75 11 22 33\",\"06 11 22 33 44\",\"anne@exemple.fr\",\"Cliente fidèle, "
                               "\"\"rappeler\"\"\nle lundi\"\r\n";
        qsizetype rows = 0;
        for (file.reserve(megabytes * 1024 * 1024 + row.size()); file.size() < megabytes * 1024 * 1024; ++rows)
            file += row;
        QElapsedTimer timer;
        timer.start();
        const tb::Result<tb::CsvTable> t = tb::parseCsv(file);
        const qint64 ms = timer.elapsed();
        EXPECT_TRUE(t);
        EXPECT_EQ(t ? t->rows.size() : 0, rows);
        EXPECT_EQ(t ? t->rows.back().value(10) : QString(), "Cliente fidèle, \"rappeler\"\nle lundi");
        return ms;
    };
    const qint64 smallMs = timeToRead(5);
    const qint64 bigMs = timeToRead(50);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(bigMs, 10000);
#endif
    // A quadratic step would take a hundred times as long.
    EXPECT_LT(bigMs, 30 * smallMs + 1000) << smallMs << " ms for 5 MB, " << bigMs << " ms for 50 MB";
}

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
    for (const QByteArray* hostile : std::initializer_list<const QByteArray*>{&folded, &accents, &quotes, &lines})
        EXPECT_EQ(tb::readVCardFile(*hostile, kCaptions).contacts.size(), 1u);
    const qint64 hostileMs = clock.elapsed();
    // About 4 s alone, three times that on a busy machine; a quadratic step
    // would take minutes.
    EXPECT_LT(bigMs, 30000) << "50 Mo";
    EXPECT_LT(hostileMs, 30000);
    std::printf("50 Mo read in %lld ms, hostile files in %lld ms\n", bigMs, hostileMs);
}

}  // namespace
