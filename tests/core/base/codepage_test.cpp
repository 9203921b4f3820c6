#include "core/base/codepage.h"

#include <gtest/gtest.h>

using namespace tb;

TEST(Codepage, EveryByteSurvivesARoundTrip)
{
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString text = fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toCp1252(text), all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));  // euro sign
    EXPECT_EQ(text[0xC9], QChar(0xC9));
    EXPECT_EQ(text[0x81], QChar(0x81));  // one of the five undefined bytes
}

TEST(Codepage, WhatFits)
{
    EXPECT_TRUE(fitsCp1252(QStringLiteral("€ Élodie œuvre")));
    EXPECT_EQ(toCp1252(QStringLiteral("É")), QByteArray("\xC9"));
    EXPECT_FALSE(fitsCp1252(QStringLiteral("ő")));
    EXPECT_FALSE(fitsCp1252(QStringLiteral("😀")));
    EXPECT_EQ(keepCp1252(QStringLiteral("aőb😀c€")), QStringLiteral("abc€"));
    EXPECT_EQ(keepCp1252(QStringLiteral("déjà")), QStringLiteral("déjà"));
}

TEST(Codepage, CapitalsStayWithinTheCodePage)
{
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString page = fromCp1252(all);
    const QString upper = upperWithinCodePage(page);
    ASSERT_EQ(upper.size(), page.size());
    EXPECT_TRUE(fitsCp1252(upper));
    for (qsizetype i = 0; i < page.size(); ++i)
        if (upper[i] != page[i])
            EXPECT_EQ(upper[i], page[i].toUpper()) << i;

    EXPECT_EQ(upperWithinCodePage(QStringLiteral("weiß")), QStringLiteral("WEIß"));
    EXPECT_EQ(upperWithinCodePage(QStringLiteral("µller")), QStringLiteral("µLLER"));
    EXPECT_EQ(upperWithinCodePage(QStringLiteral("ÿ")), QStringLiteral("Ÿ"));
    EXPECT_EQ(toCp1252(QStringLiteral("Ÿ")), QByteArray("\x9F"));
    EXPECT_EQ(upperWithinCodePage(QStringLiteral("élodie, œuvre n° 12")), QStringLiteral("ÉLODIE, ŒUVRE N° 12"));
    EXPECT_EQ(upperWithinCodePage(QStringLiteral("šž ÆØ")), QStringLiteral("ŠŽ ÆØ"));
    // A letter outside the code page keeps its place and is not turned into "?".
    EXPECT_EQ(upperWithinCodePage(QStringLiteral("łódź")), QStringLiteral("łÓDź"));
}

TEST(Codepage, LettersTheCodePageLacksBecomeTheirNearestLetterOrAQuestionMark)
{
    QString replaced;
    EXPECT_EQ(tb::nearestCp1252(QStringLiteral("Łódź Wałęsa Dvořák Kővári İstanbul"), &replaced),
              QStringLiteral("Lódz Walesa Dvorák Kovári Istanbul"));
    EXPECT_EQ(replaced, QStringLiteral("Łźłęřőİ"));
    // What the code page holds stays, accents and "€" included; the rest is one "?" each.
    replaced.clear();
    EXPECT_EQ(tb::nearestCp1252(QStringLiteral("Œuvre à 12 € — 😀 中"), &replaced), QStringLiteral("Œuvre à 12 € — ? ?"));
    EXPECT_EQ(replaced, QStringLiteral("😀中"));
    EXPECT_EQ(tb::nearestCp1252(QStringLiteral("Café")), QStringLiteral("Café"));
}
