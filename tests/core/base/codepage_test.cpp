// The code page of the files, its capitals and nearest letters, and paths in files.
#include "core/base/codepage.h"
#include "core/base/path_text.h"

#include <gtest/gtest.h>

using namespace tb;

namespace {
QByteArray everyByte()
{
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    return all;
}
}  // namespace

TEST(Codepage, EveryByteSurvivesARoundTrip)
{
    const QByteArray all = everyByte();
    const QString text = fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toCp1252(text), all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));  // euro sign
    EXPECT_EQ(text[0xC9], QChar(0xC9));
    EXPECT_EQ(text[0x81], QChar(0x81));  // one of the five undefined bytes
}

TEST(Codepage, WhatFitsCapitalsAndNearestLettersStayWithinTheCodePage)
{
    EXPECT_FALSE(fitsCp1252("ő") || fitsCp1252("😀"));
    EXPECT_EQ(keepCp1252("aőb😀c€"), "abc€");
    const QString page = fromCp1252(everyByte());
    const QString upper = upperWithinCodePage(page);
    ASSERT_EQ(upper.size(), page.size());
    EXPECT_TRUE(fitsCp1252(upper));
    for (qsizetype i = 0; i < page.size(); ++i)
        if (upper[i] != page[i])
            EXPECT_EQ(upper[i], page[i].toUpper()) << i;

    EXPECT_EQ(upperWithinCodePage("weiß µller ÿ"), "WEIß µLLER Ÿ");
    EXPECT_EQ(upperWithinCodePage("élodie, œuvre n° 12 šž"), "ÉLODIE, ŒUVRE N° 12 ŠŽ");
    // A letter outside the code page keeps its place and is not turned into "?".
    EXPECT_EQ(upperWithinCodePage("łódź"), "łÓDź");

    // Letters the code page lacks become their nearest letter or a question mark.
    QString replaced;
    EXPECT_EQ(tb::nearestCp1252("Łódź Wałęsa Dvořák Kővári İstanbul", &replaced), "Lódz Walesa Dvorák Kovári Istanbul");
    EXPECT_EQ(replaced, "Łźłęřőİ");
    // What the code page holds stays, accents and "€" included; the rest is one "?" each.
    replaced.clear();
    EXPECT_EQ(tb::nearestCp1252("Œuvre à 12 € — 😀 中", &replaced), "Œuvre à 12 € — ? ?");
    EXPECT_EQ(replaced, "😀中");
}

TEST(PathText, CodePageWhenItFitsUtf8OtherwiseAndPathsComeBackAsWritten)
{
    const QString paths[] = {"/home/łukasz/cartes/ma carte.gif", "C:\\Fiches\\ŒUVRES €\\a.bmp", "/home/李/ü.gif", QString()};
    for (const QString& path : paths)
        EXPECT_EQ(decodePathValue(encodePathValue(path)), path) << path.toStdString();
    EXPECT_EQ(encodePathValue("/home/andré/x.gif"), QByteArray("/home/andr\xE9/x.gif"));
    EXPECT_EQ(encodePathValue("/home/łukasz"), QByteArray("/home/\xC5\x82ukasz"));
    EXPECT_EQ(encodePathValue("/tmp/a.gif"), QByteArray("/tmp/a.gif"));
    // Files written by hand: code page bytes that are not UTF-8, even when
    // cut in the middle of what looks like a UTF-8 sequence.
    EXPECT_EQ(decodePathValue("C:\\Fiches\\\xC9t\xE9"), "C:\\Fiches\\Été");
    EXPECT_EQ(decodePathValue("/x/\xC3"), "/x/Ã");
    EXPECT_EQ(decodePathValue("/x/\x80.gif"), "/x/€.gif");
    // "Ã©" in the code page is C3 A9, which UTF-8 reads as "é". Such a name
    // is far less likely than an accented letter, so UTF-8 wins.
    const QString written = QStringLiteral("/home/Ã©");
    ASSERT_TRUE(fitsCp1252(written));
    EXPECT_EQ(encodePathValue(written), QByteArray("/home/\xC3\xA9"));
    EXPECT_EQ(decodePathValue(encodePathValue(written)), "/home/é");
}
