// The code page of the files, its capitals and nearest letters, paths in files,
// and the French primary keys the lists sort by, agreeing with the collator.
#include "core/base/codepage.h"
#include "core/base/collation.h"
#include "core/base/error.h"
#include "core/base/francetext.h"
#include "core/base/masks.h"
#include "core/base/number_text.h"
#include "core/base/numeric.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <cerrno>
#include <clocale>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace tb;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

QByteArray everyByte()
{
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    return all;
}

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

TEST(Collation, PrimaryKeysAgreeWithTheCollatorOverTheWholeCodePageAndLeaveCaseAccentsAndLigaturesToIt)
{
    const QString page = codePage();
    const std::vector<Keyed> texts = aroundLetters(page);
    EXPECT_EQ(disagreements(texts, texts), "");

    // Random texts, half their characters among a few the collator finds close, so that many share long starts.
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

// Numeric values, number texts and masks (the forms every window reads and
// writes); one-value files, caption files and note files.

TEST(ValueFiles, ParsedAndWrittenFormsReadBackWhole)
{
    EXPECT_EQ(parseFirstValue("\"a,b\"\r\n"), "a,b");
    EXPECT_EQ(parseFirstValue(" 12\r\n"), "12");
    EXPECT_EQ(parseFirstValue(""), "");
    EXPECT_EQ(parseFirstValue("\xC9t\xE9\r\n"), "Été");
    EXPECT_EQ(parseValues("\"Un\"\r\n\"Deux, trois\"\n\"\"\r\nx,y\r\n"),
              (QStringList{"Un", "Deux, trois", "", "x", "y"}));
    EXPECT_EQ(parseValues("\"a\"\r\n\"b\"\r\n\"c\"\r\n", 2), (QStringList{"a", "b"}));

    QTemporaryDir dir;
    const QString p = dir.filePath("v.txt");
    ASSERT_TRUE(writeValueFile(p, "C:/Mes données/"));
    EXPECT_EQ(readBytes(p), QByteArray("C:/Mes donn\xE9" "es/\r\n"));
    for (const QString& v : QStringList{"Dupont, Jean", " 12", "\"cité\"", "Clients "}) {
        ASSERT_TRUE(writeValueFile(p, v));
        bool exists = false;
        EXPECT_EQ(readFirstValue(p, &exists), v) << qPrintable(v);
        EXPECT_TRUE(exists);
    }
    EXPECT_EQ(valueLine("\"a\",b"), QByteArray("\"\"\"a\"\",b\"\r\n"));
    EXPECT_EQ(valueLine("a\"b"), QByteArray("a\"b\r\n"));
    bool exists = true;
    EXPECT_EQ(readFirstValue(dir.filePath("missing.txt"), &exists), "");
    EXPECT_FALSE(exists);

    const QStringList captions{"Un", "Réf, client", "", "Dit \"le grand\""};
    ASSERT_TRUE(writeQuotedLines(p, captions));
    EXPECT_EQ(readBytes(p), QByteArray("\"Un\"\r\n\"R\xE9" "f, client\"\r\n\"\"\r\n\"Dit \"\"le grand\"\"\"\r\n"));
    EXPECT_EQ(readValues(p, 10), captions);
    // (A path's bytes are the path texts'; a database's map path reads back in the database test.)
}

TEST(SafeWrite, ReplacesWholeFilesAndAFullDiskNeverEmptiesOneNorReportsSuccess)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a"), b = dir.filePath("b");
    ASSERT_TRUE(writeFileAtomic(a, "long content"));
    ASSERT_TRUE(writeFileAtomic(a, "x"));
    ASSERT_TRUE(copyFileReplacing(a, b));
    EXPECT_FALSE(copyFileReplacing(dir.filePath("none"), b));
    EXPECT_EQ(readWholeFile(b), "x");
    EXPECT_EQ(readWholeFile(dir.filePath("none")), "");
    QFile::remove(a);
    QFile::remove(b);

    const QString f = dir.filePath("NBFiches.dat"), big = dir.filePath("big");
    writeBytes(f, "3\r\n");
    writeBytes(big, QByteArray(5000, 'x'));
    const QByteArray large(5000, 'y');
    // Each whole-file write of the program, with room for 100 bytes only.
    const std::vector<std::function<bool()>> writes = {
        [&] { return bool(writeFileAtomic(f, large)); }, [&] { return bool(copyFileReplacing(big, f)); },
        [&] { return bool(writeValueFile(f, QString(400, u'9'))); },
        [&] { return bool(writePathValue(f, QString(400, u'ł'))); },
        [&] { return bool(writeQuotedLines(f, QStringList(50, "Légende"))); },
        [&] { return bool(Francetext::SauveTexte(f, QString(400, u'n'))); },
    };
    for (size_t i = 0; i < writes.size(); ++i) {
        EXPECT_FALSE(testing_support::underFileSizeLimit(100, writes[i])) << i;
        EXPECT_EQ(readBytes(f), "3\r\n") << i;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary file left behind

    // A folder in the file's place stays and the write says why.
    QDir().mkdir(dir.filePath("carte.txt"));
    const tb::Status s = writeValueFile(dir.filePath("carte.txt"), "x");
    ASSERT_FALSE(s);
    EXPECT_EQ(s.error().number, 75);
    EXPECT_TRUE(QFileInfo(dir.filePath("carte.txt")).isDir());
    const tb::Status full = tb::Error::fromErrno(ENOSPC, f);
    EXPECT_EQ(full.error().message(), "Erreur n° 61 : le disque est plein (NBFiches.dat)");
}

TEST(Francetext, SauveTexteAddsOneLineEndAndChargeTexteReadsEveryByte)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("F1.txt");
    EXPECT_EQ(Francetext::ChargeTexte(p), "");  // missing
    writeBytes(p, "");
    EXPECT_EQ(Francetext::ChargeTexte(p), "");
    ASSERT_TRUE(Francetext::SauveTexte(p, "Ligne 1\r\nRéglé\r\n"));
    EXPECT_EQ(readBytes(p), QByteArray("Ligne 1\r\nR\xE9gl\xE9\r\n\r\n"));
    EXPECT_EQ(Francetext::ChargeTexte(p), "Ligne 1\r\nRéglé\r\n\r\n");

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    writeBytes(p, all);
    const QString text = Francetext::ChargeTexte(p);
    EXPECT_EQ(text.size(), 256);
    ASSERT_TRUE(Francetext::SauveTexte(dir.filePath("m.txt"), text));
    EXPECT_EQ(readBytes(dir.filePath("m.txt")), all + "\r\n");
}

TEST(NumericValue, LeadingNumberWithBlanksIgnoredTextsAndBytesAlikeDecimalPointWhateverTheCLocale)
{
    for (const auto& [text, value] : {std::pair{u"", 0.0}, {u" 12 3", 123}, {u"5,5", 5}, {u"-3e2", -300}, {u"1D2", 100},
                                      {u"abc", 0}, {u"- 4 . 5", -4.5}, {u"1.2.3", 1.2}, {u"7e", 7}, {u"\u00e912", 0},
                                      {u"1e999", 0}})  // no infinity reaches a caller
        EXPECT_EQ(numericValue(text), value) << QString::fromUtf16(text).toStdString();
    // What the user types as an amount or a rate takes a decimal comma too.
    EXPECT_EQ(amountValue(u" - 12,50 "), -12.5);
    EXPECT_EQ(amountValue(u"1,2.3"), 1.2);
    EXPECT_EQ(amountValue(u"4.5"), 4.5);
    for (const char* s : {"", " 120   ", "3 123", "-3e2", "1D2", "12a", ".", " 0.5", "9999999", " 1234567890 ",
                          "12\t", "  ", "007 "})
        EXPECT_EQ(numericValue(QByteArrayView(s)), numericValue(QString::fromLatin1(s))) << s;
    EXPECT_EQ(numericValue(QByteArrayView("\xC9" "5")), 0);

    EXPECT_EQ(numericInteger(u"1e30"), 2147483647);
    EXPECT_EQ(numericInteger(u"-1e30"), -2147483647);
    EXPECT_EQ(numericInteger(u"12.9"), 12);

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

}  // namespace
