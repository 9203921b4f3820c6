// Numeric value, number-to-text and masks: the forms every window reads and writes.
#include "core/base/masks.h"
#include "core/base/number_text.h"
#include "core/base/numeric.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <clocale>

using namespace tb;

TEST(NumericValue, LeadingNumberWithBlanksIgnoredTextsAndBytesAlike)
{
    for (const auto& [text, value] : {std::pair{u"", 0.0}, {u" 12 3", 123}, {u"5,5", 5}, {u"-3e2", -300}, {u"1D2", 100},
                                      {u"abc", 0}, {u"- 4 . 5", -4.5}, {u"1.2.3", 1.2}, {u"7e", 7}, {u"\u00e912", 0},
                                      {u"1e999", 0}})  // no infinity reaches a caller
        EXPECT_EQ(numericValue(text), value) << QString::fromUtf16(text).toStdString();
    // What the user types as an amount or a rate takes a decimal comma too.
    EXPECT_EQ(amountValue(u" - 12,50 "), -12.5);
    EXPECT_EQ(amountValue(u"1,2.3"), 1.2);
    EXPECT_EQ(amountValue(u"4.5"), 4.5);
    for (const char* s : {"", " 120   ", "3 123", "-3e2", "1D2", "12a", ".", " 0.5", "9999999"})
        EXPECT_EQ(numericValue(QByteArrayView(s)), numericValue(QString::fromLatin1(s))) << s;
    EXPECT_EQ(numericValue(QByteArrayView("\xC9" "5")), 0);

    EXPECT_EQ(numericInteger(u"1e30"), 2147483647);
    EXPECT_EQ(numericInteger(u"-1e30"), -2147483647);
    EXPECT_EQ(numericInteger(u"12.9"), 12);
}

TEST(NumericValue, DecimalPointWhateverTheCLocale)
{
    // Qt sets the C locale from the environment; a French one must not make "1.5" read as 1.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma here (scripts/install-deps.sh makes fr_FR.UTF-8)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(numericValue(u"1.5"), 1.5);
    EXPECT_EQ(numericValue(QByteArrayView("2.25")), 2.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Masks, NoLeadingZeroRoundingAndSeparatorsAndNumberTextsABlankOrMinusBefore)
{
    EXPECT_EQ(numberText(0), " 0");
    EXPECT_EQ(numberText(-0.25), "-0.25");
    EXPECT_EQ(coordText(45.5f), " 45.5");
    EXPECT_EQ(plainNumber(12), "12");
    const QString m = QStringLiteral("##################.00");
    const QLocale c = QLocale::c(), fr(QLocale::French, QLocale::France);
    EXPECT_EQ(formatMask(-5, m, c), "-5.00");
    EXPECT_EQ(formatMask(-0.004, m, c), ".00");  // no "-" before a zero
    EXPECT_EQ(formatMask(2.675, m, c), "2.68");
    EXPECT_EQ(formatMask(1e15, m, c), "1000000000000000.00");
    EXPECT_EQ(formatMask(0, "##################", c), "");
    EXPECT_EQ(formatMask(7.5, "##################", c), "8");
    EXPECT_EQ(formatMask(1.0005, "###############.000", c), "1.001");
    const QString grouped = QStringLiteral("###,###,###,###,###.00");
    EXPECT_EQ(formatMask(-1234567.891, grouped, fr), "-1\u00A0234\u00A0567,89");
    EXPECT_EQ(formatMask(999, grouped, fr), "999,00");
    EXPECT_EQ(formatMask(0.5, m, fr), ",50");
}

TEST(Masks, PointFormWhateverTheLocale)
{
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(pointForm(1234.5), "1234.50");
    EXPECT_EQ(pointForm(-0.5), "-.50");
    EXPECT_EQ(pointForm(3, "##################"), "3");
    QLocale::setDefault(old);
}
