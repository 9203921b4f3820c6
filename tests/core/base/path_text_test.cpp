#include "core/base/codepage.h"
#include "core/base/path_text.h"

#include <gtest/gtest.h>

using namespace tb;

TEST(PathText, PathsComeBackAsWritten)
{
    const QString paths[] = {"/home/łukasz/cartes/ma carte.gif", "/home/andré/x.gif",
                             "C:\\Fiches\\ŒUVRES €\\a.bmp", "/tmp/a b.gif", "/home/李/ü.gif", QString()};
    for (const QString& path : paths)
        EXPECT_EQ(decodePathValue(encodePathValue(path)), path) << path.toStdString();
}

TEST(PathText, CodePageWhenItFitsUtf8Otherwise)
{
    EXPECT_EQ(encodePathValue("/home/andré/x.gif"), QByteArray("/home/andr\xE9/x.gif"));
    EXPECT_EQ(encodePathValue("/home/łukasz"), QByteArray("/home/\xC5\x82ukasz"));
    EXPECT_EQ(encodePathValue("/tmp/a.gif"), QByteArray("/tmp/a.gif"));
    // Files written by hand: code page bytes that are not UTF-8, even when
    // cut in the middle of what looks like a UTF-8 sequence.
    EXPECT_EQ(decodePathValue("C:\\Fiches\\\xC9t\xE9"), "C:\\Fiches\\Été");
    EXPECT_EQ(decodePathValue("/x/\xC3"), "/x/Ã");
    EXPECT_EQ(decodePathValue("/x/\x80.gif"), "/x/€.gif");
}

TEST(PathText, CodePageTextThatIsAlsoUtf8IsReadAsUtf8)
{
    // "Ã©" in the code page is C3 A9, which UTF-8 reads as "é". Such a name
    // is far less likely than an accented letter, so UTF-8 wins.
    const QString written = QStringLiteral("/home/Ã©");
    ASSERT_TRUE(fitsCp1252(written));
    EXPECT_EQ(encodePathValue(written), QByteArray("/home/\xC3\xA9"));
    EXPECT_EQ(decodePathValue(encodePathValue(written)), "/home/é");
}
