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
    // "1e999" gives 0: no infinity reaches a caller.
    const std::pair<const char16_t*, double> values[] = {
        {u"", 0},    {u" 12 3", 123}, {u"5,5", 5},       {u"-3e2", -300}, {u"1D2", 100},   {u"abc", 0},
        {u"7e", 7},  {u"1.2.3", 1.2}, {u"- 4 . 5", -4.5}, {u"1e999", 0},  {u"\u00e912", 0},
    };
    for (const auto& [text, value] : values)
        EXPECT_EQ(numericValue(text), value) << QString::fromUtf16(text).toStdString();
    for (const char* s : {"", " 120   ", "3 123", "-3e2", "1D2", "12a", ".", " 0.5", "9999999"})
        EXPECT_EQ(numericValue(QByteArrayView(s)), numericValue(QString::fromLatin1(s))) << s;
    EXPECT_EQ(numericValue(QByteArrayView("\xC9" "5")), 0);

    const std::pair<const char16_t*, int> integers[] = {
        {u"999999999", 999999999}, {u"1e30", 2147483647}, {u"-1e30", -2147483647}, {u"12.9", 12}};
    for (const auto& [text, value] : integers)
        EXPECT_EQ(numericInteger(text), value);
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

TEST(NumberText, BlankOrMinusBeforeNumber)
{
    EXPECT_EQ(numberText(5), " 5");
    EXPECT_EQ(numberText(0), " 0");
    EXPECT_EQ(numberText(-0.25), "-0.25");
    EXPECT_EQ(coordText(45.5f), " 45.5");
    EXPECT_EQ(plainNumber(12), "12");
}

TEST(Masks, NoLeadingZeroRoundingAndSeparators)
{
    const QString m = QStringLiteral("##################.00"), whole = QStringLiteral("##################");
    const QString grouped = QStringLiteral("###,###,###,###,###.00");
    const QLocale c = QLocale::c(), fr(QLocale::French, QLocale::France);
    // No "-" before a zero, halves rounded up, no leading zero.
    const std::tuple<double, QString, QLocale, QString> cases[] = {
        {0, m, c, ".00"}, {-5, m, c, "-5.00"}, {-0.004, m, c, ".00"}, {1.005, m, c, "1.01"}, {2.675, m, c, "2.68"},
        {1e15, m, c, "1000000000000000.00"}, {0, whole, c, ""}, {7.5, whole, c, "8"},
        {1.0005, QStringLiteral("###############.000"), c, "1.001"},
        {-1234567.891, grouped, fr, QStringLiteral("-1\u00A0234\u00A0567,89")}, {999, grouped, fr, "999,00"},
        {0.5, m, fr, ",50"},
    };
    for (const auto& [value, mask, locale, text] : cases)
        EXPECT_EQ(formatMask(value, mask, locale), text) << value;
}

TEST(Masks, PointFormWhateverTheLocale)
{
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(pointForm(1234.5), "1234.50");
    EXPECT_EQ(pointForm(0), ".00");
    EXPECT_EQ(pointForm(-0.5), "-.50");
    EXPECT_EQ(pointForm(3, QStringLiteral("##################")), "3");
    QLocale::setDefault(old);
}
