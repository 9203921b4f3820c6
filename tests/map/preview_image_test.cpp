#include "base/paths.h"
#include "map/preview_image.h"
#include "support/fixtures.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(PreviewImage, FolderTextEndsWithOneSlash)
{
    EXPECT_EQ(tb::folderText("/"), "/");
    EXPECT_EQ(tb::folderText("/home/anne"), "/home/anne/");
    EXPECT_EQ(tb::folderText("/home/anne/"), "/home/anne/");
    EXPECT_EQ(tb::folderText("/home//anne/../paul"), "/home/paul/");
}

TEST(PreviewImage, LargeImageIsDecodedAtItsPreviewSize)
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
    EXPECT_EQ(framed.pixelColor(5, 5), QColor(Qt::white));       // above the picture
    EXPECT_GT(framed.pixelColor(120, 90).red(), 200);              // centre of the picture

    QImage small(50, 40, QImage::Format_RGB32);
    small.fill(Qt::blue);
    ASSERT_TRUE(small.save(dir.filePath("small.bmp"), "BMP"));
    EXPECT_EQ(tb::loadPreview(dir.filePath("small.bmp"), {240, 180}).size(), QSize(50, 40));

    writeBytes(dir.filePath("texte.gif"), "GIF89a mais pas vraiment");
    EXPECT_TRUE(tb::loadPreview(dir.filePath("texte.gif"), {240, 180}, &natural).isNull());
    EXPECT_FALSE(natural.isValid());
    EXPECT_TRUE(tb::loadPreview(dir.filePath("absent.jpg"), {240, 180}).isNull());
    EXPECT_TRUE(tb::framedPreview(QImage(), QSize(), {240, 180}, Qt::white).isNull());
}

TEST(PreviewImage, TextPreviewIsCappedForBigFiles)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("note.txt"), "\xC9t\xE9\r\n");
    EXPECT_EQ(tb::previewText(dir.filePath("note.txt")), QString::fromUtf8("Été\r\n"));
    writeBytes(dir.filePath("long.txt"), QByteArray(1000, 'a'));
    EXPECT_EQ(tb::previewText(dir.filePath("long.txt"), 100), QString(100, u'a'));
    EXPECT_EQ(tb::previewText(dir.filePath("absent.txt")), QString());
}
