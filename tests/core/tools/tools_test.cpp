// Amounts in words and the euro converter on the edges of every group of digits; RIB keys and
// their refusals; the IBAN check and a French IBAN read as its RIB.
#include "core/base/codepage.h"
#include "core/tools/amount_words.h"
#include "core/tools/euro_converter.h"
#include "core/tools/iban.h"
#include "core/tools/note_cipher.h"
#include "core/tools/note_text.h"
#include "core/tools/rib_key.h"
#include "support/fixtures.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace tb;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

// The rows of a sample file written beside the tests: each line "a|b|" gives {a, b}; lines starting with "#" say
// what the file holds.
QList<QByteArrayList> sampleRows(const char* path)
{
    QList<QByteArrayList> rows;
    for (const QByteArray& line : testing_support::readBytes(QStringLiteral(TABULON_TEST_SAMPLES) + path).split('\n'))
        if (!line.startsWith('#') && line.endsWith('|'))
            rows << line.chopped(1).split('|');
    return rows;
}

const QLocale kFrench(QLocale::French, QLocale::France);

Conversion converted(const QString& amount, AmountIn in = AmountIn::Euros, const QString& decimals = "2",
                     const QString& rate = "6.55957", const QString& currency = QStringLiteral("Francs français"))
{
    const Result<Conversion> c = convert({amount, in, rate, decimals, currency}, kFrench);
    EXPECT_TRUE(c.ok()) << amount.toStdString();
    return c.ok() ? c.value() : Conversion{};
}

TEST(SomLettr, WordsOfEveryGroupAndItsEdgesAndTheRefusals)
{
    const QList<QByteArrayList> rows = sampleRows("core/tools/samples/somlettr.txt");
    EXPECT_EQ(rows.size(), 31);
    for (const QByteArrayList& row : rows)
        EXPECT_EQ(SomLettr(QString::fromLatin1(row[0])), QString::fromUtf8(row[1])) << row[0].constData();
    // A value reads as its integer part.
    EXPECT_EQ(SomLettr(91.99), "Quatre-vingt onze ");
    EXPECT_EQ(SomLettr(999999999999999.0), SomLettr(QStringLiteral("999999999999999")));
    EXPECT_EQ(SomLettr(1e15), "Une Erreur !");
    EXPECT_EQ(SomLettr(-1.0), "Une Erreur !");
}

TEST(EuroTexts, FrancsAndEurosWithTwoDecimalsAndGroupedThousands)
{
    EXPECT_EQ(FFeuro(1000000, kFrench), QString::fromUtf8("152\u00A0449,02 euros"));
    EXPECT_EQ(EuroFF(1000, kFrench), QString::fromUtf8("6\u00A0559,57 francs"));
    EXPECT_EQ(EuroFF(0, kFrench), ",00 francs");  // the masks keep no leading zero
}

TEST(EuroConverter, AmountsAndResultsKeepTheirDecimalsAndLettersOrAZeroRateAreRefused)
{
    // A comma or a point is the decimal separator; the decimal digits come after the words.
    Conversion c = converted("12,5");
    EXPECT_EQ(c.result, "81,99");
    EXPECT_EQ(c.amountWords, "Douze  euros 5");
    // Blanks are ignored, a sign is read, a second separator ends the number.
    c = converted("-5");
    EXPECT_EQ(c.amountWords, "Moins cinq  euros ");
    EXPECT_EQ(c.resultWords, "Moins trente deux  Francs français 80");
    EXPECT_EQ(converted("+ 1 2,5,3").result, "81,99");

    c = converted("2", AmountIn::Euros, "6", "1936.27", "Lires italiennes");
    EXPECT_EQ(c.result, "3872,540000");
    EXPECT_EQ(c.francs, "13,119140");
    EXPECT_EQ(c.resultWords, "Trois mille huit cent soixante douze  Lires italiennes 540000");

    // "x": the unrounded result, never in exponent form.
    c = converted("1", AmountIn::Currency, "x");
    EXPECT_EQ(c.result, "0,15244901723741");
    EXPECT_EQ(c.resultWords, QString::fromUtf8("Zéro euros 15244901723741"));
    c = converted("1", AmountIn::Euros, "3", "0.787564");
    EXPECT_EQ(c.result, ",788");
    EXPECT_EQ(c.resultWords, QString::fromUtf8("Zéro Francs français 788"));

    // A result of 0 with no decimals is empty, and so are its words.
    c = converted("0", AmountIn::Euros, "0");
    EXPECT_EQ(c.result + c.francs + c.francsWords + c.resultWords, "");
    EXPECT_EQ(c.amountWords, QString::fromUtf8("Zéro euros "));

    // The words of 1000 to 1999 start with "Mille".
    const std::pair<const char*, QString> cases[] = {
        {"999", "Neuf cent quatre-vingt dix-neuf  euros "}, {"1500", "Mille cinq cent  euros "},
        {"1999,9", "Mille neuf cent quatre-vingt dix-neuf  euros 9"}, {"2000", "Deux mille  euros "},
        {"1000000000000000,5", "Une Erreur ! euros 5"}, {"", ""},
    };
    for (const auto& [amount, words] : cases)
        EXPECT_EQ(amountInWords(QString::fromLatin1(amount), " euros "), words) << amount;

    // Letters or a zero rate are refused.
    const auto refusal = [](const QString& amount, const QString& rate) {
        const Result<Conversion> c = convert({amount, AmountIn::Currency, rate, "2", "Francs français"}, kFrench);
        return c.ok() ? QStringLiteral("accepted") : c.error().message();
    };
    const QString message = QStringLiteral("Cette zone ne doit comporter que des chiffres!");
    for (const QString& bad : QStringList{QString("12a"), QString("5-"), QString("1e5"), "1" + QString(300, u'0')})
        EXPECT_EQ(refusal(bad, "6.55957"), message) << bad.toStdString();
    EXPECT_EQ(refusal("5", "0"), message);
    for (const char* good : {"-", " ", "1 000", "1,2,3"})
        EXPECT_EQ(refusal(good, "6.55957"), "accepted") << good;
    // Leading zeros do not count towards the limit.
    EXPECT_EQ(refusal(QString(400, u'0') + "7", "1"), "accepted");
}

std::optional<int> key(const QString& bank, const QString& branch, const QString& account)
{
    const auto k = ribKey(bank, branch, account);
    EXPECT_TRUE(k.ok()) << account.toStdString();
    return k.ok() ? k.value() : std::nullopt;
}

TEST(RibKey, KeysWithLettersCountedAsTheirDigitAndWrongLengthsRefusedInOrder)
{
    EXPECT_EQ(key("30002", "00550", "0000157841Z"), 25);
    EXPECT_EQ(key("12345", "54321", "00000000032"), 97);  // a remainder of 0 is shown as 97
    const char* const table[] = {"AJ", "BKS", "CLT", "DMU", "ENV", "FOW", "GPX", "HQY", "IRZ"};
    for (int digit = 1; digit <= 9; ++digit) {
        const std::optional<int> expected = key("30002", "00550", "000015784" + QString::number(digit) + "0");
        for (const char* letter = table[digit - 1]; *letter; ++letter) {
            const QString account = "000015784" + QString(QChar(*letter)) + "0";
            EXPECT_EQ(key("30002", "00550", account), expected) << *letter;
            EXPECT_EQ(key("30002", "00550", account.toLower()), expected) << *letter;
        }
    }

    // Wrong lengths are refused in order; zero codes have no key.
    auto message = [](const QString& bank, const QString& branch, const QString& account) {
        const auto k = ribKey(bank, branch, account);
        return k.ok() ? QString() : k.error().message();
    };
    EXPECT_EQ(message("1234", "123", "1"), "Le code Banque doit comporter 5 caractères");
    EXPECT_EQ(message("30002", "0055", "1"), "Le code Guichet doit comporter 5 caractères");
    EXPECT_EQ(message("30002", "00550", "000015784"), "Le N°de compte doit comporter 11 caractères");
    EXPECT_EQ(key("00000", "00550", "0000157841Z"), std::nullopt);
    EXPECT_EQ(key("30002", "00000", "0000157841Z"), std::nullopt);
}

TEST(Iban, FrenchIbanGivesItsRibPartsAndEachFaultIsRefusedWithItsReason)
{
    const tb::Result<tb::IbanCheck> c = tb::checkIban(" fr76 3000 6000 0112 3456 7890 189 ");
    ASSERT_TRUE(c.ok()) << c.error().message().toStdString();
    EXPECT_EQ(c->iban, "FR7630006000011234567890189");
    EXPECT_TRUE(c->french);
    EXPECT_EQ(tb::frenchIbanParts(*c), "Banque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89");
    // Another country: checked, not split.
    const tb::Result<tb::IbanCheck> de = tb::checkIban("DE89 3704 0044 0532 0130 00");
    ASSERT_TRUE(de.ok());
    EXPECT_FALSE(de->french);

    // Each fault is refused with its reason.
    const QList<QByteArrayList> rows = sampleRows("core/tools/samples/iban_refusals.txt");
    EXPECT_EQ(rows.size(), 8);
    for (const QByteArrayList& row : rows) {
        const tb::Result<tb::IbanCheck> c = tb::checkIban(QString::fromUtf8(row[0]));
        ASSERT_FALSE(c.ok()) << row[0].constData();
        EXPECT_EQ(c.error().message(), " IBAN invalide : " + QString::fromUtf8(row[1])) << row[0].constData();
    }
}

// The note cipher and the note as the editor loads, shows and saves it: every
// byte survives enciphering, the text box and the file, whatever the key.

// Random bytes where CR, LF and CR LF are frequent, every byte value possible.
QByteArray randomNote(std::mt19937& rng, int length)
{
    static const QByteArray ends[] = {"\r\n", "\r", "\n"};
    QByteArray out;
    while (out.size() < length)
        if (const unsigned kind = rng() % 6; kind < 3)
            out += ends[kind];
        else
            out += char(rng() % 256);
    return out;
}

// A key of printable ASCII and a few others: spaces, accents, signs.
QString randomKey(std::mt19937& rng, int length)
{
    static const QString pool = QStringLiteral("azAZ09:@[`_ é~/{ùΩ€") + QStringLiteral("PontDuGard1985");
    QString key;
    while (key.size() < length)
        key += pool.at(rng() % pool.size());
    return key;
}

TEST(NoteCipher, KeyKeepsOnlyCodes48To122ShiftedBy100AndIsRepeatedOverTheNote)
{
    EXPECT_EQ(tb::noteKeyBytes("0z"), QByteArray("\x94\xDE"));  // 148, 222
    EXPECT_EQ(tb::noteKeyBytes("/{ "), QByteArray());           // 47, 123, blank
    // Blanks, accented letters and characters outside the code page are skipped.
    EXPECT_EQ(tb::noteKeyBytes("Pont Du Géné1Ω"), tb::noteKeyBytes("PontDuGn1"));

    // "A" (65) with "0" (148): 65 ^ 148 = 213; the key runs again from its start.
    EXPECT_EQ(tb::cipherBytes("AAA", "\x94\x95"), QByteArray("\xD5\xD4\xD5"));
    EXPECT_EQ(tb::cipherNote(QString(), "PontDuGard1985"), QString());
    // No usable character: no result, the caller leaves the note as it is.
    EXPECT_FALSE(tb::cipherNote("secret", "  éà ").has_value());
    const QString once = *tb::cipherNote("Réglé le 3", "PontDuGard1985");
    EXPECT_NE(once, "Réglé le 3");
    EXPECT_NE(*tb::cipherNote("Réglé le 3", "QontDuGard1985"), once);
    // Past the note's 10 characters the key plays no part.
    EXPECT_EQ(*tb::cipherNote("Réglé le 3", "PontDuGard1986"), once);
}

TEST(NoteCipher, RandomNotesComeBackExactlyThroughCipherTextBoxAndFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("F7.txt");
    std::mt19937 rng(1985);
    std::uniform_int_distribution<int> noteLength(0, 300), keyLength(1, 40);
    for (int round = 0; round < 300; ++round) {
        const QString note = tb::fromCp1252(randomNote(rng, noteLength(rng)));
        // One-character keys and keys longer than the note come up often.
        const QString key = round % 5 == 0 ? randomKey(rng, 1) : randomKey(rng, keyLength(rng) * (round % 3 + 1));
        const std::optional<QString> enciphered = tb::cipherNote(note, key);
        if (!enciphered) {
            EXPECT_TRUE(tb::noteKeyBytes(key).isEmpty());
            continue;
        }
        ASSERT_EQ(enciphered->size(), note.size());
        // Through the text box: what is shown holds no invisible control code.
        const QString shown = tb::noteForDisplay(*enciphered);
        for (const QChar c : shown)
            ASSERT_TRUE(c.unicode() >= 32 || c == u'\n' || c == u'\t') << round;
        const QString back = tb::noteFromDisplay(shown);
        ASSERT_EQ(back, *enciphered) << round;
        // Saved, opened again, and deciphered with the same key.
        ASSERT_TRUE(tb::saveNote(path, back).ok());
        ASSERT_EQ(readBytes(path), tb::toCp1252(*enciphered) + "\r\n");
        const QString reopened = tb::noteFromDisplay(tb::noteForDisplay(tb::loadNote(path)));
        ASSERT_EQ(reopened, *enciphered) << round;
        ASSERT_EQ(tb::cipherNote(reopened, key), note) << round;
    }
}

TEST(NoteText, AMissingNoteIsEmptyAndOneWrittenElsewhereWithoutAFinalLineEndIsTakenWholeThenKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("F1.txt");
    EXPECT_EQ(tb::loadNote(path), QString());
    writeBytes(path, "sans fin\r");
    EXPECT_EQ(tb::loadNote(path), "sans fin\r");
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(tb::saveNote(path, tb::loadNote(path)).ok());
    EXPECT_EQ(readBytes(path), QByteArray("sans fin\r\r\n"));
}

TEST(NoteText, TextBoxShowsLineEndsAsLinesAndOtherControlsAsStandIns)
{
    const QString note = QStringLiteral("a\r\nb\rc\nd\te") + QChar(0) + QChar(127) + QStringLiteral("\r\r\n");
    EXPECT_EQ(tb::noteForDisplay(note), "a\nb␍c␊d\te␀␡␍\n");
    EXPECT_EQ(tb::noteFromDisplay(tb::noteForDisplay(note)), note);
    // A text document's paragraph separators are line ends too.
    EXPECT_EQ(tb::noteFromDisplay(QStringLiteral("un") + QChar::ParagraphSeparator + QStringLiteral("deux")),
              "un\r\ndeux");
}

TEST(NoteText, SummaryHoldsNameAddressAndFieldsEightToFourteen)
{
    std::array<QString, 20> t;
    for (int i = 0; i < 20; ++i)
        t[i] = QStringLiteral("f%1").arg(i);
    EXPECT_EQ(tb::noteSummary(t), "f1 f2 f3 \nf4\nf5 f6\nf7\nf8\nf9\nf10\nf11\nf12\nf13\n");
}

}  // namespace
