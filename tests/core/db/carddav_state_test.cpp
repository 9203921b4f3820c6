// What a database keeps of its CardDAV address book: read back as written,
// and a damaged file refused with its name, never guessed at; its settings; a conflict merged.
#include "core/db/carddav_settings.h"
#include "core/db/carddav_state.h"
#include "core/exchange/field_merge.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QString folderOf(const QTemporaryDir& dir) { return dir.path() + u'/'; }

TEST(CardDavState, ReadsBackWhatWasWrittenAndRefusesADamagedFile)
{
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    // Never synced: an empty state, nothing fetched.
    EXPECT_FALSE(tb::readCardDavState(folder)->configured());
    EXPECT_TRUE(tb::readFetchedVCards(folder)->isEmpty());

    tb::CardDavState state;
    state.server = QStringLiteral("https://dav.łódź.example/");  // beyond the code page
    state.addressBook = "https://dav.example.fr/alice/contacts/";
    state.user = "alice";
    state.syncToken = "http://radicale.org/ns/sync/4c1a";
    state.acceptedCertificate = QByteArray(32, '\xab').toHex();
    state.atOpening = true;
    state.everyMinutes = 15;
    state.newContactsPoint = QPointF(120.5, -3.25);
    state.lastStatus = " Erreur de synchronisation : le serveur répond\t« 507 »\\\r\nplein";
    state.followedDeletion = "5f0e-stamp";
    const QByteArray digest = QByteArray(32, '\x01').toHex();
    state.cards = {{7, "u7", "/alice/contacts/u7.vcf", "\"3-7\"", digest}, {2, "u;2\t", "/a b/2.vcf", "W/\"x\"", {}}};
    state.deletedHere = {{4, "u4", "/alice/contacts/u4.vcf", "\"e4\"", digest}};
    ASSERT_TRUE(tb::writeCardDavState(folder, state));
    const auto read = tb::readCardDavState(folder);
    ASSERT_TRUE(read) << read.error().message().toStdString();
    EXPECT_EQ(read->server, state.server);
    EXPECT_EQ(read->lastStatus, state.lastStatus);
    EXPECT_EQ(read->newContactsPoint, state.newContactsPoint);
    EXPECT_TRUE(read->atOpening && read->everyMinutes == 15 && read->followedDeletion == state.followedDeletion);
    EXPECT_EQ(read->acceptedCertificate + read->syncToken + read->user + read->addressBook,
              state.acceptedCertificate + state.syncToken + state.user + state.addressBook);
    ASSERT_EQ(read->cards.size(), 2u);
    EXPECT_EQ(read->entry(2)->uid, "u;2\t");
    EXPECT_EQ(read->entry(7)->sentDigest, digest);
    EXPECT_EQ(read->entry(7)->etag, "\"3-7\"");
    EXPECT_EQ(read->entry(3), nullptr);
    ASSERT_EQ(read->deletedHere.size(), 1u);
    EXPECT_EQ(read->deletedHere[0].href, "/alice/contacts/u4.vcf");

    // The fetched vCards come back byte for byte, whatever their line ends.
    const QHash<QString, QByteArray> fetched = {
        {"u7", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u7\r\nFN:A\r\nEND:VCARD\r\n"},
        {"u;2\t", "BEGIN:VCARD\nVERSION:4.0\nFN:B\r\n X\nEND:VCARD"}};
    ASSERT_TRUE(tb::writeFetchedVCards(folder, fetched));
    EXPECT_EQ(*tb::readFetchedVCards(folder), fetched);

    // Damaged: an unknown line, a number that is none, a card twice, a
    // fetched file cut short.
    const QByteArray good = readBytes(folder + "carddav.txt");
    for (const QByteArray& bad : {good + "colour=blue\r\n", QByteArray(good).replace("card=7", "card=x7"),
                                  good + "card=2\tu9\t/9.vcf\t\t\r\n", QByteArray(good).replace("\\\\", "\\q"),
                                  good.mid(good.indexOf('\n') + 1)}) {
        writeBytes(folder + "carddav.txt", bad);
        const auto refused = tb::readCardDavState(folder);
        ASSERT_FALSE(refused) << bad.constData();
        EXPECT_TRUE(refused.error().message().contains("carddav.txt"));
    }
    const QByteArray vcf = readBytes(folder + "carddav.vcf");
    writeBytes(folder + "carddav.vcf", vcf.chopped(5));
    EXPECT_FALSE(tb::readFetchedVCards(folder));
}

}  // namespace

// A sync conflict merged field by field, and the settings that point a state at another address book.
TEST(FieldMerge, OnlyFieldsThatDifferBeyondTrailingBlanksAreOfferedAndTheChosenOnesTaken)
{
    const CardRecord here = makeCard("DURAND", "Paul", 3, 100, 100, "17000", "La Rochelle");
    CardRecord there = makeCard("DURAND", "Paul", 5, 100, 100, "69001", "Lyon");
    there.field(tb::kFieldSurname) = QStringLiteral("DURAND");  // not padded: the same text
    EXPECT_EQ(tb::differingFields(here, there),
              (std::vector<tb::CardField>{tb::kFieldPosition, tb::kFieldPostalCode, tb::kFieldCity}));
    const CardRecord merged = tb::withFieldsFrom(here, there, {tb::kFieldCity});
    EXPECT_EQ(merged.field(tb::kFieldCity), there.field(tb::kFieldCity));
    EXPECT_EQ(merged.field(tb::kFieldPostalCode), here.field(tb::kFieldPostalCode));
    EXPECT_EQ(merged.field(tb::kFieldPosition), here.field(tb::kFieldPosition));
}

TEST(CardDavSettings, AnotherAddressBookForgetsWhatWasKnownOfTheOldOneAndAnotherHostItsCertificate)
{
    tb::CardDavState state;
    state.server = QStringLiteral("https://dav.exemple.fr/");
    state.addressBook = QStringLiteral("https://dav.exemple.fr/marie/clients/");
    state.syncToken = QStringLiteral("t1");
    state.acceptedCertificate = QStringLiteral("ab12");
    state.cards = {{1, QStringLiteral("u1"), QStringLiteral("/marie/clients/u1.vcf"), QStringLiteral("e1"), "d1"}};

    tb::CardDavState same = state;
    tb::pointStateAt(same, state.server, QString());
    EXPECT_EQ(same.cards.size(), 1u);
    EXPECT_EQ(same.syncToken, QStringLiteral("t1"));
    // The book's own address, or the server typed again while the book found there stays chosen.
    for (const QString& typed : {state.addressBook, QStringLiteral("https://dav.exemple.fr")}) {
        tb::CardDavState retyped = state;
        tb::pointStateAt(retyped, typed, typed == state.addressBook ? QString() : state.addressBook);
        EXPECT_EQ(retyped.cards.size(), 1u) << typed.toStdString();
    }

    tb::CardDavState otherBook = state;
    tb::pointStateAt(otherBook, state.server, QStringLiteral("https://dav.exemple.fr/marie/perso/"));
    EXPECT_TRUE(otherBook.cards.empty());
    EXPECT_TRUE(otherBook.syncToken.isEmpty());
    EXPECT_EQ(otherBook.acceptedCertificate, QStringLiteral("ab12"));

    tb::CardDavState otherHost = state;
    tb::pointStateAt(otherHost, QStringLiteral("https://autre.exemple.fr/"), QString());
    EXPECT_TRUE(otherHost.addressBook.isEmpty());
    EXPECT_TRUE(otherHost.acceptedCertificate.isEmpty());
    EXPECT_EQ(otherHost.server, QStringLiteral("https://autre.exemple.fr/"));
}
