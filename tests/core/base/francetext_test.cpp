// Note files: read and written whole in the code page.
#include "core/base/francetext.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::readBytes;
using testing_support::writeBytes;

TEST(Francetext, SauveTexteAddsOneLineEndAndChargeTexteReadsEveryByte)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("F1.txt");
    EXPECT_EQ(Francetext::ChargeTexte(p), "");  // missing
    writeBytes(p, "");
    EXPECT_EQ(Francetext::ChargeTexte(p), "");
    Francetext::SauveTexte(p, QStringLiteral("Ligne 1\r\nRéglé\r\n"));
    EXPECT_EQ(readBytes(p), QByteArray("Ligne 1\r\nR\xE9gl\xE9\r\n\r\n"));
    EXPECT_EQ(Francetext::ChargeTexte(p), QStringLiteral("Ligne 1\r\nRéglé\r\n\r\n"));

    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    writeBytes(p, all);
    const QString text = Francetext::ChargeTexte(p);
    EXPECT_EQ(text.size(), 256);
    Francetext::SauveTexte(dir.filePath("m.txt"), text);
    EXPECT_EQ(readBytes(dir.filePath("m.txt")), all + "\r\n");
}
