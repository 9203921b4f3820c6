// One-value files and caption files.
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tb;
using testing_support::readBytes;

TEST(ValueFiles, ParseValues)
{
    EXPECT_EQ(parseFirstValue("\"a,b\"\r\n"), "a,b");
    EXPECT_EQ(parseFirstValue("12,34"), "12");
    EXPECT_EQ(parseFirstValue(" 12\r\n"), "12");
    EXPECT_EQ(parseFirstValue(""), "");
    EXPECT_EQ(parseFirstValue("\xC9t\xE9\r\n"), QStringLiteral("Été"));
    EXPECT_EQ(parseValues("\"Un\"\r\n\"Deux, trois\"\n\"\"\r\nx,y\r\n"),
              (QStringList{"Un", "Deux, trois", "", "x", "y"}));
    EXPECT_EQ(parseValues("\"a\"\r\n\"b\"\r\n\"c\"\r\n", 2), (QStringList{"a", "b"}));
}

TEST(ValueFiles, WrittenFormsReadBackWhole)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("v.txt");
    ASSERT_TRUE(writeValueFile(p, QStringLiteral("C:/Mes données/")));
    EXPECT_EQ(readBytes(p), QByteArray("C:/Mes donn\xE9" "es/\r\n"));
    for (const QString& v : {QStringLiteral("Dupont, Jean"), QStringLiteral(" 12"), QStringLiteral("\"cité\"")}) {
        ASSERT_TRUE(writeValueFile(p, v));
        bool exists = false;
        EXPECT_EQ(readFirstValue(p, &exists), v) << qPrintable(v);
        EXPECT_TRUE(exists);
    }
    EXPECT_EQ(valueLine(QStringLiteral(" 12")), QByteArray("\" 12\"\r\n"));
    EXPECT_EQ(valueLine(QStringLiteral("\"a\",b")), QByteArray("\"\"\"a\"\",b\"\r\n"));
    EXPECT_EQ(valueLine(QStringLiteral("a\"b")), QByteArray("a\"b\r\n"));
    bool exists = true;
    EXPECT_EQ(readFirstValue(dir.filePath("missing.txt"), &exists), "");
    EXPECT_FALSE(exists);

    const QStringList captions{"Un", QStringLiteral("Réf, client"), "", QStringLiteral("Dit \"le grand\"")};
    ASSERT_TRUE(writeQuotedLines(p, captions));
    EXPECT_EQ(readBytes(p), QByteArray("\"Un\"\r\n\"R\xE9" "f, client\"\r\n\"\"\r\n\"Dit \"\"le grand\"\"\"\r\n"));
    EXPECT_EQ(readValues(p, 10), captions);
}

TEST(SafeWrite, ReplacesWholeFiles)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a"), b = dir.filePath("b");
    ASSERT_TRUE(writeFileAtomic(a, "long content"));
    ASSERT_TRUE(writeFileAtomic(a, "x"));
    EXPECT_EQ(readWholeFile(a), "x");
    ASSERT_TRUE(copyFileReplacing(a, b));
    EXPECT_FALSE(copyFileReplacing(dir.filePath("none"), b));
    EXPECT_EQ(readWholeFile(b), "x");
    EXPECT_EQ(readWholeFile(dir.filePath("none")), "");
}
