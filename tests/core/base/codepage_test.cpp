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
    EXPECT_TRUE(fitsCp1252("€ Élodie œuvre"));
    EXPECT_EQ(toCp1252("É"), QByteArray("\xC9"));
    EXPECT_FALSE(fitsCp1252("ő"));
    EXPECT_FALSE(fitsCp1252("😀"));
    EXPECT_EQ(keepCp1252("aőb😀c€"), "abc€");
    EXPECT_EQ(keepCp1252("déjà"), "déjà");
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

    EXPECT_EQ(upperWithinCodePage("weiß"), "WEIß");
    EXPECT_EQ(upperWithinCodePage("µller"), "µLLER");
    EXPECT_EQ(upperWithinCodePage("ÿ"), "Ÿ");
    EXPECT_EQ(toCp1252("Ÿ"), QByteArray("\x9F"));
    EXPECT_EQ(upperWithinCodePage("élodie, œuvre n° 12"), "ÉLODIE, ŒUVRE N° 12");
    EXPECT_EQ(upperWithinCodePage("šž ÆØ"), "ŠŽ ÆØ");
    // A letter outside the code page keeps its place and is not turned into "?".
    EXPECT_EQ(upperWithinCodePage("łódź"), "łÓDź");
}

TEST(Codepage, LettersTheCodePageLacksBecomeTheirNearestLetterOrAQuestionMark)
{
    QString replaced;
    EXPECT_EQ(tb::nearestCp1252("Łódź Wałęsa Dvořák Kővári İstanbul", &replaced), "Lódz Walesa Dvorák Kovári Istanbul");
    EXPECT_EQ(replaced, "Łźłęřőİ");
    // What the code page holds stays, accents and "€" included; the rest is one "?" each.
    replaced.clear();
    EXPECT_EQ(tb::nearestCp1252("Œuvre à 12 € — 😀 中", &replaced), "Œuvre à 12 € — ? ?");
    EXPECT_EQ(replaced, "😀中");
    EXPECT_EQ(tb::nearestCp1252("Café"), "Café");
}
