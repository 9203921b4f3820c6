// A sync conflict merged field by field, and the settings that point a state at another address book.
#include "core/db/carddav_settings.h"
#include "core/exchange/field_merge.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;

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
