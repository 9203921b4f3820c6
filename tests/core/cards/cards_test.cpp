// A card's byte layout, its marker and position, its debt fields and status words; the record file: whole records
// written in place or not at all, passes in blocks, captions.
#include "core/base/folder_index.h"
#include "core/cards/attachments.h"
#include "core/cards/card_fields.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"
#include "core/cards/debt.h"
#include "core/cards/pin_field.h"
#include "core/cards/side_files.h"
#include "core/db/database.h"
#include "core/exchange/exchange_samples.h"
#include "core/map/preview_image.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;
using Texts = std::array<QString, 6>;

namespace {

struct StoreTest : ::testing::Test {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    CardStore store{folder};
    QString records() const { return folder + "lesfiches.dat"; }
    QString surname(long long n) const { return store.read(n)->field(3).trimmed(); }
    void writeTwo() { writeCards(folder, {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 2, 20, 20)}); }
};

TEST_F(StoreTest, WriteReadRewriteAndExtendRecords)
{
    writeTwo();
    EXPECT_EQ(readBytes(folder + "NBFiches.dat"), "2\r\n");
    // Rewriting a card changes its 630 bytes only; card 0 and cards past the end read blank.
    ASSERT_TRUE(store.write(2, makeCard("DEUXBIS", "b", 2, 20, 20)));
    EXPECT_EQ(readBytes(records()).size(), 2 * 630);
    EXPECT_EQ(surname(1) + surname(2), "UNDEUXBIS");
    EXPECT_EQ(store.read(3)->toBytes(), QByteArray(630, ' '));
    EXPECT_EQ(store.read(0)->toBytes(), QByteArray(630, ' '));
    EXPECT_FALSE(store.write(0, CardRecord()));
    // Past the end, even after a torn record: blank cards up to the card, written at its own offset.
    writeBytes(records(), readBytes(records()) + "xyz");
    ASSERT_TRUE(store.write(5, makeCard("CINQ", "e", 5, 50, 50)));
    const QByteArray after = readBytes(records());
    ASSERT_EQ(after.size(), 5 * 630);
    EXPECT_EQ(after.mid(2 * 630, 2 * 630), "xyz" + QByteArray(2 * 630 - 3, ' '));
    EXPECT_EQ(surname(5), "CINQ");
}

TEST_F(StoreTest, CountIsAWholeNumberOrInvalid)
{
    EXPECT_FALSE(store.readCount().exists);
    struct Case { QByteArray file; bool valid; long long value; };
    for (const Case& c : {Case{"abc\r\n", false, 0}, Case{"-5\r\n", false, 0}, Case{"", false, 0},
                          Case{"\" 2\"\r\n", true, 2}, Case{"999999999\r\n", true, 999999999}}) {
        writeBytes(folder + "NBFiches.dat", c.file);
        const CardStore::CountReading r = store.readCount();
        EXPECT_TRUE(r.exists);
        EXPECT_EQ(r.valid, c.valid) << c.file.constData();
        EXPECT_EQ(r.value, c.value) << c.file.constData();
    }
    ASSERT_TRUE(store.writeCount(12));
    EXPECT_EQ(readBytes(folder + "NBFiches.dat"), "12\r\n");
}

TEST_F(StoreTest, PassesCrossBlocksAndStopAtTheLastWholeRecord)
{
    QByteArray many;
    for (int i = 1; i <= 9000; ++i)
        many += makeCard(QString::number(i), "x", 1, 0, 0).toBytes();
    writeBytes(records(), many + QByteArray(100, 'z'));  // a torn last record
    long long seen = 0, wrong = 0;
    ASSERT_TRUE(store.forEachRaw(9999, [&](long long n, QByteArrayView r) {
        wrong += (++seen != n || CardRecord::fromBytes(r).field(3).trimmed() != QString::number(n));
    }));
    EXPECT_EQ(seen, 9000);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(store.recordsInFile(), 9000);
    EXPECT_EQ(readBytes(records()).size(), 9000 * 630 + 100);  // never cut
}

TEST_F(StoreTest, AFailedWriteLeavesTheFileAsItWas)
{
    writeTwo();
    const QByteArray before = readBytes(records());
    // Room for the two cards and half of a third: the third lands whole or not at all.
    EXPECT_FALSE(underFileSizeLimit(2 * 630 + 316, [&] { return bool(store.write(3, makeCard("TROIS", "c", 1, 1, 1))); }));
    EXPECT_EQ(readBytes(records()), before);
    EXPECT_FALSE(underFileSizeLimit(2 * 630 + 316, [&] {
        return bool(store.writeRecords(2, makeCard("A", "", 1, 1, 1).toBytes() + makeCard("B", "", 1, 1, 1).toBytes()));
    }));
    EXPECT_EQ(readBytes(records()), before);
    // The gap before a far card is filled block by block, not in memory at once.
    EXPECT_FALSE(underFileSizeLimit(1 << 20, [&] { return bool(store.write(999999999, CardRecord())); }));
    EXPECT_EQ(readBytes(records()), before);

    // A record file replaced by a folder is an error, never a blank card.
    QFile::remove(records());
    QDir().mkdir(records());
    const tb::Status s = store.write(1, makeCard("UN", "a", 1, 1, 1));
    ASSERT_FALSE(s);
    EXPECT_TRUE(s.error().message().startsWith("Erreur n° 75 : "));
    EXPECT_FALSE(store.read(1));
    EXPECT_FALSE(store.forEachRaw(1, [](long long, QByteArrayView) {}));
}

TEST_F(StoreTest, Captions)
{
    const QStringList captions{"Un", "Deux", "Trois", "Quatre", "Cinq", "Six", "Sept", "Huit", "Neuf", "Dix"};
    ASSERT_TRUE(store.writeCaptions(captions));
    EXPECT_TRUE(readBytes(folder + "StrFic.txt").startsWith("\"Un\"\r\n\"Deux\"\r\n"));
    EXPECT_EQ(store.readCaptions(), captions);
    writeBytes(folder + "StrFic.txt", "\"A\"\n\"B\"\n");
    EXPECT_EQ(store.readCaptions(), (QStringList{"A", "B"}));
}

TEST(CardRecord, LayoutIsByteExactAndTextsPaddedOrCutAndForeignCharactersKeepIt)
{
    // The widths other programs read the file with, written out.
    const int widths[20] = {30, 15, 15, 15, 40, 5, 40, 15, 15, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40};
    // Each field filled to its width with its own letter: shows every offset.
    std::array<QString, CardRecord::kFieldCount> t;
    QByteArray expected;
    for (int i = 0; i < 20; ++i) {
        t[i] = QString(widths[i], QChar(u'A' + i));
        expected += QByteArray(widths[i], char('A' + i));
    }
    EXPECT_EQ(CardRecord::fromTexts(t).toBytes(), expected);
    EXPECT_EQ(expected.size(), 630);
    EXPECT_EQ(CardRecord().toBytes(), QByteArray(630, ' '));

    // Texts padded or cut; foreign characters keep the layout.
    t = {};
    t[2] = QStringLiteral("ABCDEFGHIJKLMNOPQRST");  // 20 characters into 15
    t[3] = QStringLiteral("Győr😀X");
    t[5] = QStringLiteral("750011");
    t[6] = QStringLiteral("Évry");
    const QByteArray bytes = CardRecord::fromTexts(t).toBytes();
    ASSERT_EQ(bytes.size(), 630);
    EXPECT_EQ(bytes.mid(45, 80), "ABCDEFGHIJKLMNOGy?r??X        " + QByteArray(40, ' ') + "75001\xC9vry ");
    EXPECT_EQ(CardRecord::fromBytes(bytes).field(7), QStringLiteral("Évry") + QString(36, u' '));

    // A short or empty block gives blanks; every byte of a full one reads back.
    EXPECT_EQ(CardRecord::fromBytes("3 120").field(1), QStringLiteral("3 120") + QString(25, u' '));
    EXPECT_EQ(CardRecord::fromBytes({}).toBytes(), QByteArray(630, ' '));
    const QByteArray all = QByteArray(629, 'x') + "\x81";
    EXPECT_EQ(CardRecord::fromBytes(all).toBytes(), all);
}

TEST(CardRecord, MarkerAndPositionFromTheTextsAndStraightFromTheBytes)
{
    EXPECT_EQ(tb::positionText(120, 45), QStringLiteral(" 120") + QString(17, u' ') + QStringLiteral(" 45"));
    CardRecord card = makeCard("DUPONT", "Jean", 3, 123, 456);
    EXPECT_EQ(card.field(1), "3 123                  456    ");
    EXPECT_TRUE(card.isActive());
    EXPECT_EQ(card.x(), 123);
    card.fields[0][0] = u'0';
    EXPECT_FALSE(card.isActive());
    EXPECT_EQ(card.y(), 456);

    const tb::PinSpot s = tb::pinSpotOf(makeCard("A", "B", 7, 12345, 67890).toBytes().left(30));
    EXPECT_EQ(s.marker, 7);  // five-digit coordinates still fit the field
    EXPECT_EQ(s.y, 67890);
    const tb::PinSpot frac = tb::pinSpotOf(makeCard("A", "B", 2, 10.5, -3).toBytes().left(30));
    EXPECT_EQ(frac.x, 10.5);
    EXPECT_EQ(frac.y, -3);
    EXPECT_EQ(tb::pinSpotOf("x 12").marker, 0);
    EXPECT_EQ(tb::pinSpotOf("5 12").x, 12);
    EXPECT_EQ(tb::pinSpotOf({}).marker, 0);
}

// Field 1 goes back to the file as it came: an odd marker byte, a decimal position and whatever else the 30 bytes hold.
TEST(PinField, KeepsTheStoredBytesAndReadsMarkerAndPosition)
{
    QByteArray bytes(CardRecord::kSize, ' ');
    const QByteArray field1 = QByteArray("\x81") + " 120.5  x" + "-45.25" + QByteArray(13, ' ') + "\xff";
    ASSERT_EQ(field1.size(), 30);
    bytes.replace(0, 30, field1);
    CardRecord card = CardRecord::fromBytes(bytes);
    const tb::PinField pin = tb::PinField::of(card);
    EXPECT_EQ(pin.marker(), 0);
    EXPECT_FALSE(pin.isActive());
    EXPECT_DOUBLE_EQ(pin.x(), 120.5);
    EXPECT_DOUBLE_EQ(pin.y(), -45.25);
    pin.writeInto(card);
    EXPECT_EQ(card.toBytes(), bytes);

    // Another marker changes that byte only.
    pin.withMarker(u'3').writeInto(card);
    EXPECT_EQ(card.toBytes(), QByteArray("3") + bytes.mid(1));
    EXPECT_EQ(tb::PinField::of(card).marker(), 3);
    EXPECT_DOUBLE_EQ(tb::PinField::of(card).x(), 120.5);

    // A new pin: marker, then the number-to-text forms, blank to the width.
    const tb::PinField made(u'5', 12.75, 300);
    EXPECT_EQ(made.text(), (QStringLiteral("5 12.75") + QString(17, u' ') + QStringLiteral(" 300")).leftJustified(30));
    EXPECT_DOUBLE_EQ(made.x(), 12.75);
    EXPECT_DOUBLE_EQ(made.y(), 300);
    EXPECT_EQ(tb::PinField().text(), QString(30, u' '));
    EXPECT_EQ(tb::PinField().withMarker(u'7').text(), QStringLiteral("7").leftJustified(30));
}

TEST(Debt, PointFormsOfOwedCollectedAndRemainingAndStatusWords)
{
    // A comma is a decimal point, empty or text counts zero, below one has no leading digit.
    EXPECT_EQ(tb::debtCalculation("10", "5,5", "", "3"), (Texts{"10.00", "5.50", ".00", "15.50", "3.00", "12.50"}));
    // Fields read back from a record carry their blanks; halves round away from zero; remaining may be negative.
    EXPECT_EQ(tb::debtCalculation("12.345                                  ", "  0.005", "abc", "20"),
              (Texts{"12.35", ".01", ".00", "12.35", "20.00", "-7.65"}));

    // Status words and fixed captions.
    EXPECT_EQ(tb::statusWord(tb::PinField::read(u"3 12")), "active");
    EXPECT_EQ(tb::statusWord(tb::PinField()), "archivée");
    EXPECT_EQ(tb::statusWord(tb::PinField::read(u"0 12"), true), "Archivée");
    EXPECT_EQ(tb::fixedFieldCaptions().size(), 9);
    EXPECT_EQ(tb::fixedFieldCaptions()[1], "Nom ");
}

// A card's documents: the copies a chosen file becomes, the pictures refused before anything is decoded or copied, the
// scanning instruction and the address file for the word processor; side files found in any case from one listing.
struct AttachmentsTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    QTemporaryDir chosen;
    std::unique_ptr<tb::Database> db = std::move(tb::Database::open(folder.path())).value();

    QString picture(const QString& name, QSize size, const char* format = "JPG")
    {
        const QString path = chosen.filePath(name);
        EXPECT_TRUE(filledImage(size, Qt::darkCyan).save(path, format));
        return path;
    }
};

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
    // What the folder gains afterwards is not in the listing, which is no longer current.
    writeBytes(folder + "photo4.jpg", "z");
    EXPECT_EQ(index.find("photo4.jpg"), "");
    EXPECT_FALSE(index.isCurrent());
    EXPECT_EQ(tb::FolderIndex(folder).find("Photo4.JPG"), "photo4.jpg");

    EXPECT_EQ(tb::fileAnyCase(folder, "Photo3.jpg"), folder + "PHOTO3.JPG");
    EXPECT_EQ(tb::fileAnyCase(folder, "absent.mdb"), folder + "absent.mdb");
    EXPECT_EQ(tb::sideFileKind("scana3.JPG", 3), tb::SideFile::ScanA);
    EXPECT_FALSE(tb::sideFileKind("ScanA3.jpg", 4));
}

}  // namespace
