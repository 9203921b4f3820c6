#include "core/exchange/exchange_samples.h"
#include "core/map/preview_image.h"
#include "support/fixtures.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(PreviewImage, LargeImageIsDecodedAtItsPreviewSizeAndBadFilesGiveNothing)
{
    QTemporaryDir dir;
    QImage big(1200, 600, QImage::Format_RGB32);
    big.fill(Qt::red);
    ASSERT_TRUE(big.save(dir.filePath("big.jpg"), "JPG"));
    QSize natural;
    const QImage preview = tb::loadPreview(dir.filePath("big.jpg"), {240, 180}, &natural);
    EXPECT_EQ(natural, QSize(1200, 600));
    EXPECT_EQ(preview.size(), QSize(240, 120));
    const QImage framed = tb::framedPreview(preview, natural, {240, 180}, Qt::white);
    EXPECT_EQ(framed.size(), QSize(240, 180));
    EXPECT_EQ(framed.pixelColor(5, 5), QColor(Qt::white));  // above the picture
    EXPECT_GT(framed.pixelColor(120, 90).red(), 200);       // centre of the picture

    writeBytes(dir.filePath("texte.gif"), "GIF89a mais pas vraiment");
    EXPECT_TRUE(tb::loadPreview(dir.filePath("texte.gif"), {240, 180}, &natural).isNull());
    EXPECT_FALSE(natural.isValid());
    EXPECT_TRUE(tb::framedPreview(QImage(), QSize(), {240, 180}, Qt::white).isNull());

    // Text previews (code page covered by the browser test) stop at maxBytes.
    writeBytes(dir.filePath("long.txt"), QByteArray(1000, 'a'));
    EXPECT_EQ(tb::previewText(dir.filePath("long.txt"), 100), QString(100, u'a'));
    EXPECT_EQ(tb::previewText(dir.filePath("absent.txt")), QString());
}

TEST(PreviewImage, MapsAndPicturesUnreadableOrTooLargeToShowAreNeverLoaded)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("carte.gif"), "ceci n'est pas une image");
    // A bitmap header claiming 20000 x 20000 pixels, with no pixels behind it.
    writeBytes(dir.filePath("huge.bmp"), exchange_samples::bitmapHeader(20000, 20000));
    for (const QString& bad : {dir.filePath("carte.gif"), dir.filePath("absent.gif"), QString(), dir.filePath("huge.bmp")})
        EXPECT_TRUE(tb::loadMapImage(bad).isNull()) << bad.toStdString();
    EXPECT_GT(tb::loadMapImage(dataDir() + "frc.gif").width(), 800);
    // A long strip could not be scrolled to its end; a huge photo would freeze the program.
    for (const QSize size : {QSize(40000, 300), QSize(300, 10001), QSize(8000, 7000)}) {
        QImage img(size, QImage::Format_Mono);
        img.fill(0);
        ASSERT_TRUE(img.save(dir.filePath("big.png"), "PNG"));
        EXPECT_TRUE(tb::loadMapImage(dir.filePath("big.png")).isNull()) << size.width();
        EXPECT_TRUE(tb::loadPreview(dir.filePath("big.png"), {150, 180}).isNull()) << size.width();
    }
    QImage ok(10000, 300, QImage::Format_Mono);
    ok.fill(0);
    ASSERT_TRUE(ok.save(dir.filePath("ok.png"), "PNG"));
    EXPECT_EQ(tb::loadMapImage(dir.filePath("ok.png")).size(), QSize(10000, 300));
}
