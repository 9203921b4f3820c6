#include "app/francetext.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::readBytes;
using testing_support::writeBytes;

TEST(Francetext, ChargeTexteOfMissingOrEmptyFile)
{
    QTemporaryDir dir;
    EXPECT_EQ(Francetext::ChargeTexte(dir.filePath("none.txt")), "");
    writeBytes(dir.filePath("empty.txt"), "");
    EXPECT_EQ(Francetext::ChargeTexte(dir.filePath("empty.txt")), "");
}

TEST(Francetext, SauveTexteAddsOneLineEnd)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("F1.txt");
    Francetext::SauveTexte(p, "abc");
    EXPECT_EQ(readBytes(p), QByteArray("abc\r\n"));
    EXPECT_EQ(Francetext::ChargeTexte(p), "abc\r\n");
    Francetext::SauveTexte(p, QStringLiteral("Ligne 1\r\nRéglé\r\n"));
    EXPECT_EQ(readBytes(p), QByteArray("Ligne 1\r\nR\xE9gl\xE9\r\n\r\n"));
    EXPECT_EQ(Francetext::ChargeTexte(p), QStringLiteral("Ligne 1\r\nRéglé\r\n\r\n"));
}

TEST(Francetext, EveryByteReadBack)
{
    QTemporaryDir dir;
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    writeBytes(dir.filePath("n.txt"), all);
    const QString text = Francetext::ChargeTexte(dir.filePath("n.txt"));
    EXPECT_EQ(text.size(), 256);
    Francetext::SauveTexte(dir.filePath("m.txt"), text);
    EXPECT_EQ(readBytes(dir.filePath("m.txt")), all + "\r\n");
}
