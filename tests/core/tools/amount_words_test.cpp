// Amounts in words and the euro converter's arithmetic, on the examples a user
// meets and on the edges of every group of three digits.
#include "core/tools/amount_words.h"
#include "core/tools/euro_converter.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace tb;

namespace {

const QLocale kFrench(QLocale::French, QLocale::France);
const QString kNine = QStringLiteral("neuf cent quatre-vingt dix-neuf ");

Conversion converted(const QString& amount, AmountIn in = AmountIn::Euros, const QString& decimals = "2",
                     const QString& rate = "6.55957", const QString& currency = QStringLiteral("Francs français"))
{
    const Result<Conversion> c = convert({amount, in, rate, decimals, currency}, kFrench);
    EXPECT_TRUE(c.ok()) << amount.toStdString();
    return c.ok() ? c.value() : Conversion{};
}

}  // namespace

TEST(SomLettr, WordsOfEveryGroupAndItsEdges)
{
    const std::pair<const char*, QString> cases[] = {
        {"0", ""},
        {"1", "Un "},
        {"10", "Dix "},
        {"16", "Seize "},
        {"17", "Dix-sept "},
        {"21", "Vingt un "},
        {"70", "Soixante dix "},
        {"71", "Soixante onze "},
        {"79", "Soixante dix-neuf "},
        {"80", "Quatre-vingt "},
        {"81", "Quatre-vingt un "},
        {"91", "Quatre-vingt onze "},
        {"99", "Quatre-vingt dix-neuf "},
        {"100", "Cent "},
        {"101", "Cent un "},
        {"200", "Deux cent "},
        {"1000", "Un mille "},
        {"1999", "Un mille neuf cent quatre-vingt dix-neuf "},
        {"2000", "Deux mille "},
        {"21000", "Vingt un mille "},
        {"100000", "Cent mille "},
        {"1000000", "Un million(s) "},
        {"1000001", "Un million(s) un "},
        {"2500000", "Deux million(s) cinq cent mille "},
        {"1000000000", "Un millard(s) "},
        // A thousand milliards keep their "millard(s)" when the milliards are 0.
        {"1000000000000", "Un mille millard(s) "},
        {"2000000000500", "Deux mille millard(s) cinq cent "},
        {"1005000000000", "Un mille cinq millard(s) "},
        {"999999999999999", "N" + kNine.mid(1) + "mille " + kNine + "millard(s) " + kNine + "million(s) " + kNine
                                + "mille " + kNine},
        {"0021", "Vingt un "},
        {"000000000000000001", "Un "},
    };
    for (const auto& [digits, words] : cases)
        EXPECT_EQ(SomLettr(QString::fromLatin1(digits)), words) << digits;
    EXPECT_EQ(SomLettr(21000.0), "Vingt un mille ");
    EXPECT_EQ(SomLettr(91.99), "Quatre-vingt onze ");
}

TEST(SomLettr, MoreThanFifteenDigitsOrNotDigitsIsAnError)
{
    for (const char* bad : {"1000000000000000", "9999999999999999", "", "12a", "-5", "1 000", "1.5"})
        EXPECT_EQ(SomLettr(QString::fromLatin1(bad)), "Une Erreur !") << bad;
    EXPECT_EQ(SomLettr(1e15), "Une Erreur !");
    EXPECT_EQ(SomLettr(-1.0), "Une Erreur !");
    EXPECT_EQ(SomLettr(999999999999999.0), SomLettr(QStringLiteral("999999999999999")));
}

TEST(EuroTexts, FrancsAndEurosWithTwoDecimalsAndGroupedThousands)
{
    EXPECT_EQ(FFeuro(100, kFrench), "15,24 euros");
    EXPECT_EQ(FFeuro(1000000, kFrench), QString::fromUtf8("152\u00A0449,02 euros"));
    EXPECT_EQ(EuroFF(1000, kFrench), QString::fromUtf8("6\u00A0559,57 francs"));
    EXPECT_EQ(EuroFF(0, kFrench), ",00 francs");  // the masks keep no leading zero
}

TEST(EuroConverter, AmountsReadAsTheirWholeNumberAndResultsKeepTheirDecimals)
{
    // The amount reads as the whole number before its separator; its decimal
    // digits come after the words.
    Conversion c = converted("12,5");
    EXPECT_EQ(c.result, "78,71");
    EXPECT_EQ(c.amountWords, "Douze  euros 5");

    c = converted("2", AmountIn::Euros, "6", "1936.27", QStringLiteral("Lires italiennes"));
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
    EXPECT_EQ(c.result, "");
    EXPECT_EQ(c.francs, "");
    EXPECT_EQ(c.amountWords, QString::fromUtf8("Zéro euros "));
    EXPECT_EQ(c.francsWords, "");
    EXPECT_EQ(c.resultWords, "");
}

TEST(EuroConverter, WordsOfAThousandToNineteenNinetyNineStartWithMille)
{
    EXPECT_EQ(converted("1500").amountWords, "Mille cinq cent  euros ");
    EXPECT_EQ(converted("1999,9").amountWords, "Mille neuf cent quatre-vingt dix-neuf  euros 9");
    EXPECT_EQ(converted("2000").amountWords, "Deux mille  euros ");
    EXPECT_EQ(converted("999").amountWords, "Neuf cent quatre-vingt dix-neuf  euros ");
    EXPECT_EQ(amountInWords(QStringLiteral("1000000000000000,5"), " euros "), "Une Erreur ! euros 5");
    EXPECT_EQ(amountInWords(QString(), " euros "), "");
}

TEST(EuroConverter, AnythingButDigitsOrAZeroRateIsRefused)
{
    const QString message = QStringLiteral("Cette zone ne doit comporter que des chiffres!");
    for (const QString& bad : {QStringLiteral("12a"), QStringLiteral("-5"), QStringLiteral("1 000"),
                               QStringLiteral("1,2,3"), QStringLiteral("1e5"), QStringLiteral("1") + QString(300, u'0')}) {
        const Result<Conversion> c = convert({bad, AmountIn::Euros, "6.55957", "2", "Francs français"}, kFrench);
        ASSERT_FALSE(c.ok()) << bad.toStdString();
        EXPECT_EQ(c.error().message(), message);
    }
    const Result<Conversion> zeroRate = convert({"5", AmountIn::Currency, "0", "2", "Francs français"}, kFrench);
    ASSERT_FALSE(zeroRate.ok());
    EXPECT_EQ(zeroRate.error().message(), message);
    // Leading zeros do not count towards the limit.
    EXPECT_TRUE(convert({QString(400, u'0') + "7", AmountIn::Euros, "1", "2", "X"}, kFrench).ok());
}
