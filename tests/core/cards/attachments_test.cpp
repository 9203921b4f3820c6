// A card's documents: the copies a chosen file becomes, the pictures refused
// before anything is decoded or copied, the scanning instruction and the
// address file for the word processor; side files found in any case from one listing.
#include "core/base/folder_index.h"
#include "core/cards/attachments.h"
#include "core/cards/side_files.h"
#include "core/db/database.h"
#include "core/exchange/exchange_samples.h"
#include "core/map/preview_image.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

struct AttachmentsTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    QTemporaryDir chosen;
    std::unique_ptr<tb::Database> db = std::move(tb::Database::open(folder.path())).value();

    QString picture(const QString& name, QSize size, const char* format = "JPG")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = chosen.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
};

}  // namespace

TEST_F(AttachmentsTest, ChosenPhotosAreCopiedUnderTheCardsLowerCaseName)
{
    const QString holidays = picture("vacances.JPG", {40, 30});
    const QString image = picture("image.jpeg", {30, 40});
    const QString target = db->attachmentPath(tb::attachmentBase(tb::Attachment::Photo, 12), holidays);
    EXPECT_EQ(target, folder.file("photo12.jpg"));
    EXPECT_EQ(db->attachmentPath(tb::attachmentBase(tb::Attachment::Photo, 12), image), target);
    EXPECT_TRUE(tb::existingAttachment(target).isEmpty());

    ASSERT_TRUE(tb::attachFile(holidays, target));
    EXPECT_EQ(readBytes(target), readBytes(holidays));
    EXPECT_EQ(tb::existingAttachment(target), target);
    ASSERT_TRUE(tb::attachFile(image, target));
    EXPECT_EQ(readBytes(target), readBytes(image));

    // A photo copied in by hand as "PHOTO12.JPG" is the attachment already
    // there; once replaced the card keeps only the new one.
    ASSERT_TRUE(QFile::remove(target));
    writeBytes(folder.file("PHOTO12.JPG"), "old");
    EXPECT_EQ(tb::existingAttachment(target), folder.file("PHOTO12.JPG"));
    ASSERT_TRUE(tb::attachFile(holidays, target));
    EXPECT_FALSE(QFile::exists(folder.file("PHOTO12.JPG")));
    EXPECT_EQ(db->findSideFile(tb::SideFile::Photo, 12), target);

    EXPECT_EQ(tb::attachmentBase(tb::Attachment::TextA, 3), "DtxtA3");
    EXPECT_EQ(tb::attachmentPattern(tb::Attachment::ScanA), "*.jpg;*.jpeg");
}

TEST_F(AttachmentsTest, ACopyThatFailsSaysWhyAndLeavesTheOldDocument)
{
    const QString photo = picture("vacances.jpg", {40, 30});
    const QString target = folder.file("photo3.jpg");
    writeBytes(target, "old");

    EXPECT_FALSE(underFileSizeLimit(100, [&] { return bool(tb::attachFile(photo, target)); }));
    EXPECT_EQ(readBytes(target), "old");

    // A read-only folder (root gives its rights up).
    for (const QString& open : {program.path(), chosen.path()})
        ::chmod(QFile::encodeName(open).constData(), 0755);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    const int refused = codeWithoutRootRights([&] {
        const tb::Status s = tb::attachFile(photo, target);
        return s ? 0 : s.error().number == tb::kErrorPermission ? 1 : 2;
    });
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(readBytes(target), "old");

    const tb::Status missing = tb::attachFile(chosen.filePath("parti.jpg"), target);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().number, 53);
}

TEST_F(AttachmentsTest, OnlyPicturesOfASafeSizeAreAttachedOrLoaded)
{
    EXPECT_EQ(tb::pictureAttachmentRefusal(picture("photo.png", {64, 48}, "PNG")), "");

    writeBytes(chosen.filePath("faux.jpg"), "Ceci est une lettre.\r\n");
    for (const char* bad : {"faux.jpg", "parti.jpg"})  // not a picture, missing
        EXPECT_EQ(tb::pictureAttachmentRefusal(chosen.filePath(bad)), " Ce fichier n'est pas une image !") << bad;

    // Too many pixels on a side or in all: refused from the header alone.
    const QString wide = picture("large.jpg", {10001, 2});
    const QString tooMany = chosen.filePath("grand.jpg");
    writeBytes(tooMany, exchange_samples::bitmapHeader(8000, 7000));
    for (const QString& path : {wide, tooMany}) {
        EXPECT_EQ(tb::checkPicture(path), tb::PictureCheck::TooLarge) << path.toStdString();
        EXPECT_EQ(tb::pictureAttachmentRefusal(path),
                  " Cette image est trop grande pour être chargée (plus de 10000 pixels de côté"
                  " ou de 50 millions de pixels) !");
        tb::PictureCheck check = tb::PictureCheck::Loadable;
        EXPECT_TRUE(tb::loadPicture(path, &check).isNull());
        EXPECT_EQ(check, tb::PictureCheck::TooLarge);
    }
    tb::PictureCheck check = tb::PictureCheck::TooLarge;
    EXPECT_EQ(tb::loadPicture(picture("x.jpg", {10000, 3}), &check).size(), QSize(10000, 3));
    EXPECT_EQ(check, tb::PictureCheck::Loadable);
    EXPECT_EQ(tb::checkPicture(chosen.filePath("parti.jpg")), tb::PictureCheck::Missing);
    EXPECT_EQ(tb::pictureRefusal(tb::PictureCheck::Missing), "");
}

TEST_F(AttachmentsTest, ScanningInstructionAndAddressFile)
{
    EXPECT_EQ(tb::scanInstruction("/base/", 1, 12),
              " Le document scanné n°1 devra être enregistré au format JPG dans le répertoire /base/ sous le nom de ScanA12");
    EXPECT_TRUE(tb::scanInstruction("/base/", 2, 7).endsWith(" sous le nom de ScanB7"));

    std::array<QString, 20> t{"1", "Madame", "DURAND", "Zoé", "3 rue des Mûriers", "17000", "LA ROCHELLE"};
    const QString path = folder.file("adresses.txt");
    ASSERT_TRUE(tb::writeAddressFile(path, CardRecord::fromTexts(t)));
    // The fields keep their full width, in the code page, lines ended by CR LF.
    const QByteArray expected = "Madame" + QByteArray(9, ' ') + " DURAND" + QByteArray(9, ' ') + " Zo\xe9"
                                + QByteArray(12, ' ') + "\r\n3 rue des M\xfbriers" + QByteArray(23, ' ') + "\r\n17000 LA ROCHELLE"
                                + QByteArray(29, ' ') + "\r\n";
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_FALSE(underFileSizeLimit(50, [&] { return bool(tb::writeAddressFile(path, CardRecord())); }));
    EXPECT_EQ(readBytes(path), expected);
}

TEST(FolderIndex, AnswersAnyCaseFromOneListing)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeBytes(folder + "PHOTO3.JPG", "x");
    writeBytes(folder + "f3.txt", "y");
    const tb::FolderIndex index(folder);
    EXPECT_EQ(index.find(tb::sideFileName(tb::SideFile::Photo, 3)), "PHOTO3.JPG");
    EXPECT_TRUE(index.contains(tb::sideFileName(tb::SideFile::Note, 3)));
    // What the folder gains afterwards is not in the listing, which is no
    // longer current.
    writeBytes(folder + "photo4.jpg", "z");
    EXPECT_EQ(index.find("photo4.jpg"), "");
    EXPECT_FALSE(index.isCurrent());
    EXPECT_EQ(tb::FolderIndex(folder).find("Photo4.JPG"), "photo4.jpg");

    EXPECT_EQ(tb::fileAnyCase(folder, "Photo3.jpg"), folder + "PHOTO3.JPG");
    EXPECT_EQ(tb::fileAnyCase(folder, "absent.mdb"), folder + "absent.mdb");
    EXPECT_EQ(tb::sideFileKind("scana3.JPG", 3), tb::SideFile::ScanA);
    EXPECT_FALSE(tb::sideFileKind("ScanA3.jpg", 4));
}
