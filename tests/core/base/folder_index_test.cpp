#include "core/base/folder_index.h"
#include "core/cards/side_files.h"
#include "fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::writeBytes;

TEST(FolderIndex, AnswersAnyCaseFromOneListing)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    writeBytes(folder + "PHOTO3.JPG", "x");
    writeBytes(folder + "f3.txt", "y");
    const tb::FolderIndex index(folder);
    EXPECT_EQ(index.find(tb::sideFileName(tb::SideFile::Photo, 3)), "PHOTO3.JPG");
    EXPECT_TRUE(index.contains(tb::sideFileName(tb::SideFile::Note, 3)));
    EXPECT_EQ(index.find("photo4.jpg"), "");
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
