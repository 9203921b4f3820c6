// A CSV file from outside is read in time linear in its size, and refused
// past stated limits with a message naming them, never aborting.
#include "core/exchange/csv.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

QString refusal(const QByteArray& file)
{
    const tb::Result<tb::CsvTable> t = tb::parseCsv(file, tb::CsvEncoding::Utf8);
    return t ? QString() : t.error().message();
}

TEST(CsvLimits, AFileBeyondALimitIsRefusedWithThatLimit)
{
    EXPECT_EQ(refusal(QByteArray(tb::kCsvMaxBytes + 1, 'a')), "Le fichier CSV dépasse 64 Mo : il n'est pas lu.");

    // Quoted or not, a value is counted as it grows, not after.
    const QByteArray longValue(tb::kCsvMaxValueChars + 1, 'x');
    for (const QByteArray& file : {"Nom\nA\n" + longValue + "\n", "Nom\nA\n\"" + longValue + "\"\n",
                                   "Nom\nA\n\"" + longValue}) {
        EXPECT_EQ(refusal(file),
                  "Une valeur de la ligne 3 du fichier CSV dépasse 65536 caractères : le fichier n'est pas lu.");
    }
    EXPECT_EQ(refusal("Nom\n\"a\nb\"," + QByteArray(tb::kCsvMaxColumns, ',') + "\n"),
              "La ligne 2 du fichier CSV a plus de 1000 colonnes : le fichier n'est pas lu.");
    QByteArray rows = "Nom\n";
    for (qsizetype i = 0; i < tb::kCsvMaxRows; ++i)
        rows += "a\n";
    EXPECT_EQ(refusal(rows), "Le fichier CSV a plus de 1000000 lignes : il n'est pas lu.");
    rows.chop(2);
    EXPECT_EQ(refusal(rows), QString());

    // The refusal reaches the command's caller as a message.
    const auto contacts = tb::csvContacts("Nom\n\"" + longValue + "\"\n", tb::exchangeCaptions({}), QString(), nullptr);
    ASSERT_FALSE(contacts);
    EXPECT_TRUE(contacts.error().message().startsWith("Une valeur de la ligne 2"));
}

// An address book as Outlook writes it: quoted values, doubled quotes, line breaks in notes.
QByteArray addressBook(qsizetype bytes, qsizetype* rows)
{
    QByteArray file = "\"Title\",\"First Name\",\"Last Name\",\"Company\",\"Home Street\",\"Home City\","
                      "\"Home Postal Code\",\"Home Phone\",\"Mobile Phone\",\"E-mail Address\",\"Notes\"\r\n";
    const QByteArray row = "\"Mme\",\"Anne\",\"MARTIN\",\"Martin SARL\",\"3 rue des Lilas\",\"Privas\",\"07000\","
                           "\"04 75 11 22 33\",\"06 11 22 33 44\",\"anne@exemple.fr\",\"Cliente fidèle, \"\"rappeler\"\"\n"
                           "le lundi\"\r\n";
    file.reserve(bytes + row.size());
    for (*rows = 0; file.size() < bytes; ++*rows)
        file += row;
    return file;
}

TEST(CsvLimits, FiftyMegabytesAreReadInSecondsAndTenTimesTheFileTakesAboutTenTimesAsLong)
{
    const auto timeToRead = [](qsizetype megabytes) {
        qsizetype rows = 0;
        const QByteArray file = addressBook(megabytes * 1024 * 1024, &rows);
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

}  // namespace
