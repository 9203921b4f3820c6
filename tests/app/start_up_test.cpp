#include "app/database.h"
#include "app/start_up.h"
#include "map/preview_image.h"
#include "fixtures.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

TEST(ScreenCheck, MessageOnlyBelow800By600)
{
    EXPECT_EQ(tb::screenCheckMessage(1024, 768), QString());
    EXPECT_EQ(tb::screenCheckMessage(800, 600), QString());
    EXPECT_EQ(tb::screenCheckMessage(800, 599),
              QStringLiteral("Il est souhaitable de choisir une résolution d'écran de 800 x 600, la résolution "
                             "actuelle est  800 x 599"));
    EXPECT_TRUE(tb::screenCheckMessage(640, 480).endsWith(QStringLiteral("est  640 x 480")));
}

TEST(DatabaseNames, UnsafeNamesRefused)
{
    EXPECT_TRUE(tb::isSafeDatabaseName(QStringLiteral("BasePerso")));
    EXPECT_TRUE(tb::isSafeDatabaseName(QStringLiteral("Clients 2026 été")));
    for (const char* bad : {"", "   ", "a/b", "..", "x..y", "a\\b", "a\tb", "\n"})
        EXPECT_FALSE(tb::isSafeDatabaseName(QString::fromUtf8(bad))) << bad;
}

TEST(DatabaseNames, FolderIsDatabaseOnlyWithCountAndMap)
{
    QTemporaryDir dir;
    const QString f = dir.path() + u'/';
    EXPECT_FALSE(tb::isDatabaseFolder(f));
    testing_support::writeBytes(f + "NBFiches.dat", "0\r\n");
    EXPECT_FALSE(tb::isDatabaseFolder(f));
    testing_support::writeBytes(f + "carte.txt", "x\r\n");
    EXPECT_TRUE(tb::isDatabaseFolder(f));
}

namespace {
// A BMP header that claims a huge picture, with no pixels behind it.
QByteArray hugeBmpHeader(int width, int height)
{
    QByteArray b(54, '\0');
    b[0] = 'B';
    b[1] = 'M';
    qToLittleEndian<quint32>(54, b.data() + 10);
    qToLittleEndian<quint32>(40, b.data() + 14);
    qToLittleEndian<qint32>(width, b.data() + 18);
    qToLittleEndian<qint32>(height, b.data() + 22);
    qToLittleEndian<quint16>(1, b.data() + 26);
    qToLittleEndian<quint16>(24, b.data() + 28);
    return b;
}
}  // namespace

TEST(MapImage, BadOrHugeImagesGiveNoMap)
{
    QTemporaryDir dir;
    const QString text = dir.path() + "/carte.gif";
    testing_support::writeBytes(text, "ceci n'est pas une image");
    EXPECT_TRUE(tb::loadMapImage(text).isNull());
    EXPECT_TRUE(tb::loadMapImage(dir.path() + "/absent.gif").isNull());
    EXPECT_TRUE(tb::loadMapImage(QString()).isNull());

    const QString huge = dir.path() + "/huge.bmp";
    testing_support::writeBytes(huge, hugeBmpHeader(20000, 20000));
    EXPECT_TRUE(tb::loadMapImage(huge).isNull());

    const QImage map = tb::loadMapImage(testing_support::dataDir() + "frc.gif");
    ASSERT_FALSE(map.isNull());
    EXPECT_GT(map.width(), 800);
}
