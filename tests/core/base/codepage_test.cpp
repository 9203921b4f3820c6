// The code page of the files, its capitals and nearest letters, paths in files,
// and the French primary keys the lists sort by, agreeing with the collator.
#include "core/base/codepage.h"
#include "core/base/collation.h"
#include "core/base/path_text.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

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

TEST(Codepage, Utf8FromBytesAgreesWithTheTextsAtEveryPlaceOfAWord)
{
    // Every byte at each place in runs of plain ASCII of every length up to two words.
    for (int length = 1; length <= 17; ++length)
        for (int at = 0; at < length; ++at)
            for (int b = 0; b < 256; ++b) {
                QByteArray bytes(length, 'a');
                bytes[at] = char(b);
                QByteArray out(3 * length, '\0');
                out.truncate(cp1252ToUtf8(bytes, out.data()) - out.constData());
                ASSERT_EQ(out, fromCp1252(bytes).toUtf8()) << length << " " << at << " " << b;
            }
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
    // Files written by hand: code page bytes that are not UTF-8, even when
    // cut in the middle of what looks like a UTF-8 sequence.
    EXPECT_EQ(decodePathValue("C:\\Fiches\\\xC9t\xE9"), "C:\\Fiches\\Été");
    EXPECT_EQ(decodePathValue("/x/\xC3"), "/x/Ã");
    // "Ã©" in the code page is C3 A9, which UTF-8 reads as "é". Such a name
    // is far less likely than an accented letter, so UTF-8 wins.
    const QString written = QStringLiteral("/home/Ã©");
    ASSERT_TRUE(fitsCp1252(written));
    EXPECT_EQ(encodePathValue(written), QByteArray("/home/\xC3\xA9"));
    EXPECT_EQ(decodePathValue(encodePathValue(written)), "/home/é");
}

namespace {

struct Keyed {
    QString text, key;
};

QString codePage()
{
    QString all;
    for (int b = 0; b < 256; ++b)
        all += tb::cp1252Char(uchar(b));
    return all;
}

// Each character alone, before a letter (an ignored character leaves just
// the letter) and after one; "z" after "œ" tells whether its "oe" is kept.
std::vector<Keyed> aroundLetters(const QString& chars)
{
    std::vector<Keyed> texts;
    for (QChar c : chars)
        for (const QString& t : QStringList{QString(c), c + QStringLiteral("a"), c + QStringLiteral("z"), QStringLiteral("a") + c})
            texts.push_back({t, tb::frenchPrimaryKey(t)});
    return texts;
}

// Pairs whose keys differ yet order them against the collator (first few).
std::string disagreements(const std::vector<Keyed>& a, const std::vector<Keyed>& b)
{
    QStringList found;
    for (const Keyed& x : a)
        for (const Keyed& y : b) {
            const int byKey = QString::compare(x.key, y.key);
            if (byKey != 0 && (byKey < 0) != (tb::frenchCompare(x.text, y.text) < 0) && found.size() < 10)
                found.append(QString::fromLatin1((x.text + u'/' + y.text).toUtf8().toPercentEncoding("/")));
        }
    return found.join(u' ').toStdString();
}

}  // namespace

TEST(Collation, PrimaryKeysAgreeWithTheCollatorOverTheWholeCodePageAndLeaveCaseAccentsAndLigaturesToIt)
{
    const QString page = codePage();
    const std::vector<Keyed> texts = aroundLetters(page);
    EXPECT_EQ(disagreements(texts, texts), "");

    // Random texts, half their characters among a few the collator finds close,
    // so that many share long starts.
    const QString close = QStringLiteral("aAàeEéoOœŒsSßæÆ -'.\u00AD\u0001½1…™tm");
    std::mt19937 random(1252);
    std::vector<Keyed> a, b;
    for (int n = 0; n < 800; ++n) {
        QString t;
        for (int i = int(random() % 7); i > 0; --i)
            t += random() % 2 ? page[random() % 256] : close[random() % close.size()];
        (n % 2 ? a : b).push_back({t, tb::frenchPrimaryKey(t)});
    }
    EXPECT_EQ(disagreements(a, b), "");

    // Characters outside the code page cannot be typed into a card, but a key must never mislead the sort.
    std::vector<Keyed> outside = aroundLetters(QStringLiteral("łőđħΩЖ\u0301") + QString::fromUcs4(U"😀𝔸"));
    for (const QString& t : QStringList{"Łukasz", "Lukasz", "Lzy"})
        outside.push_back({t, tb::frenchPrimaryKey(t)});
    EXPECT_EQ(disagreements(outside, texts), "");
    EXPECT_EQ(disagreements(outside, outside), "");

    // Case, accents and ligatures are left to the collator.
    const QStringList same[] = {{"Émile", "EMILE", "emîlé"}, {"Œuvre", "OEUVRE"}, {"Ægir", "aegir"},
                                {"Straße", "STRASSE"},
                                {"dé\u00ADpôt", "depot"}};  // soft hyphen ignored
    for (const QStringList& group : same)
        EXPECT_EQ(tb::frenchPrimaryKey(group.back()), tb::frenchPrimaryKey(group.front())) << group.back().toStdString();
    const QStringList inOrder = {"–", "ÐAVID", "EURO", "ØSTERGAARD", "X 12", "X 2", "ZOLA"};
    for (qsizetype i = 0; i + 1 < inOrder.size(); ++i)
        EXPECT_LT(tb::frenchPrimaryKey(inOrder[i]), tb::frenchPrimaryKey(inOrder[i + 1])) << inOrder[i].toStdString();
}
