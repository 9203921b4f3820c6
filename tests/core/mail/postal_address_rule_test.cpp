// The address block of labels and letters, and the sender kept for envelopes.
#include "core/db/database.h"
#include "core/mail/address_print.h"
#include "core/mail/postal_address.h"
#include "core/mail/sender_address.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

CardRecord card(const QString& civility, const QString& first, const QString& surname, const QString& street,
                const QString& code, const QString& city, int marker = 1)
{
    return withFields(makeCard(surname, first, marker, 10, 10, code, city), {{2, civility}, {5, street}});
}

}  // namespace

TEST(PostalAddressRule, NameStreetAndCityLinesWithinThirtyEightCharactersCutAtAWordAndReported)
{
    // Blanks of the padded fields go; the city line in capitals, "ß" kept.
    tb::PostalAddress a = tb::postalAddressLines(card("Madame", "Zoé  Anne", "DURAND", " 12 rue des Lilas", "17000", "la rochelle weiß"));
    EXPECT_EQ(a.lines, QStringList({"Madame Zoé Anne DURAND", "12 rue des Lilas", "17000 LA ROCHELLE WEIß"}));
    EXPECT_TRUE(a.cut.isEmpty());
    EXPECT_TRUE(tb::addressReport(3, a).isEmpty());

    // Exactly 38 characters stay whole; 39 are cut at the last word that fits.
    const QString street38 = QStringLiteral("1 chemin de la Grande Fontaine Basse A");
    a = tb::postalAddressLines(card("", "", "", street38, "", ""));
    EXPECT_EQ(a.lines, QStringList{street38});
    a = tb::postalAddressLines(card("", "", "", street38 + "B", "", ""));
    EXPECT_EQ(a.lines, QStringList{"1 chemin de la Grande Fontaine Basse"});
    EXPECT_EQ(a.cut, QStringList{street38 + "B"});
    // The name of three full fields (47 characters) cut after a word.
    a = tb::postalAddressLines(card("Mademoiselle", "Marie-Christine", "DE LA TOUR-DUPIN", "", "75001", "PARIS"));
    EXPECT_EQ(a.lines[0], "Mademoiselle Marie-Christine DE LA");
    EXPECT_EQ(a.lines.size(), 2);  // empty street left out
    // A city of one long hyphenated word is cut at a hyphen, never down to its code.
    a = tb::postalAddressLines(card("", "", "", "", "51290", "Saint-Remy-en-Bouzemont-Saint-Genest-et-Isson"));
    EXPECT_EQ(a.lines, QStringList{"51290 SAINT-REMY-EN-BOUZEMONT-SAINT"});
    // One word longer than a line is cut at 38 characters.
    a = tb::postalAddressLines(card("", "", "", QString(40, u'X'), "", ""));
    EXPECT_EQ(a.lines, QStringList{QString(38, u'X')});
    EXPECT_EQ(tb::addressReport(12, a), QStringList{"Fiche n° 12 : « " + QString(40, u'X') + " » dépasse 38 caractères, coupé en « "
                                                    + QString(38, u'X') + " »."});
    // A card with nothing to print is said too.
    a = tb::postalAddressLines(card("", "", "", "", "", ""));
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(tb::addressReport(4, a), QStringList{"Fiche n° 4 : aucune adresse, pas d'étiquette."});
}

TEST(PostalAddressRule, BlocksOfTheCardsAskedInTheirOrderArchivedOnesOnlyWhenAsked)
{
    TempProgramFolder program;
    TempDatabase folder(program.path());
    std::vector<CardRecord> cards;
    for (int k = 1; k <= 200; ++k)
        cards.push_back(card("M.", "Jean", QStringLiteral("NOM%1").arg(k), "rue", "17000", "Ville", k == 3 ? 0 : 2));
    writeCards(folder.path(), cards);
    auto db = std::move(tb::Database::open(folder.path())).value();
    // Few cards (read one by one) and many (one pass) give the same blocks.
    QList<long long> many{7, 3, 1};
    for (long long n = 8; n <= 200; ++n)
        many.append(n);
    for (const QList<long long>& asked : {QList<long long>{7, 3, 1}, many}) {
        tb::Result<tb::AddressBlocks> b = tb::addressBlocks(*db, asked, false);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->archived, 1);
        ASSERT_EQ(b->blocks.size(), size_t(asked.size() - 1));
        EXPECT_EQ(b->blocks[0][0], "M. Jean NOM7");
        EXPECT_EQ(b->blocks[1][0], "M. Jean NOM1");
        b = tb::addressBlocks(*db, asked, true);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->blocks[1][0], "M. Jean NOM3");
    }
}

TEST(SenderAddress, KeptInTheCodePageLineByLineAndRefusedWhenItCannotBeKept)
{
    TempProgramFolder program;
    EXPECT_TRUE(tb::readSenderAddress(program.path()).isEmpty());
    ASSERT_TRUE(tb::writeSenderAddress(program.path(), {"Société Cœur", "3 allée Zoé", "17000 LA ROCHELLE", ""}));
    EXPECT_EQ(readBytes(tb::senderFile(program.path())),
              QByteArray("Soci\xe9t\xe9 C\x9cur\r\n3 all\xe9" "e Zo\xe9\r\n17000 LA ROCHELLE\r\n"));
    EXPECT_EQ(tb::readSenderAddress(program.path()), QStringList({"Société Cœur", "3 allée Zoé", "17000 LA ROCHELLE"}));
    // Refusals write nothing.
    const QByteArray kept = readBytes(tb::senderFile(program.path()));
    EXPECT_FALSE(tb::writeSenderAddress(program.path(), {"Łódź"}));
    EXPECT_FALSE(tb::writeSenderAddress(program.path(), {QString(39, u'a')}));
    EXPECT_FALSE(tb::writeSenderAddress(program.path(), QStringList(7, "a")));
    EXPECT_EQ(readBytes(tb::senderFile(program.path())), kept);
    // A full disk leaves the old file whole.
    EXPECT_FALSE(underFileSizeLimit(10, [&] { return bool(tb::writeSenderAddress(program.path(), {"Une adresse plus longue"})); }));
    EXPECT_EQ(readBytes(tb::senderFile(program.path())), kept);
}
