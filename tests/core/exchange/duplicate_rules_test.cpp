// Which contacts are cards already there: same names and postal code, same
// e-mail address or same mobile number, among the cards before the import.
#include "core/db/database.h"
#include "core/exchange/card_import.h"
#include "exchange_samples.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;
using exchange_samples::card;

namespace {

TEST(DuplicateRules, NamesWithoutAccentsCaseOrBlanksEMailsWithoutCaseAndMobilesByTheirFrenchDigits)
{
    const auto key = [](const QString& surname, const QString& first, const QString& code) {
        return tb::duplicateKey(card({{3, surname}, {4, first}, {6, code}}));
    };
    EXPECT_EQ(key("HÉBERT", "Cécile  Anne", "45000"), key("hebert", " cecile anne", "45000"));
    EXPECT_NE(key("HEBERT", "Cecile", "45000"), key("HEBERT", "Cecile", "45100"));
    EXPECT_TRUE(key(QString(), QString(), "45000").isEmpty());
    // Within the field's 15 letters, as the import fits them.
    const auto mobile = [](const QString& number) { return tb::mobileKey(card({{9, number}})); };
    for (const QString& same :
         QStringList{"06 12 34 56 78", "06.12.34.56.78", "+33 612345678", "+33(0)612345678", "0033 612345678"})
        EXPECT_EQ(mobile(same), "0612345678") << same.toStdString();
    EXPECT_EQ(mobile("+32 470123456"), "32470123456");
    EXPECT_TRUE(mobile("0600").isEmpty());
    EXPECT_TRUE(mobile(QString()).isEmpty());
    EXPECT_EQ(tb::emailKey(card({{10, " Marie@Example.FR"}})), "marie@example.fr");
    EXPECT_TRUE(tb::emailKey(card({{3, "A"}})).isEmpty());
}

TEST(DuplicateRules, EachRuleNamesTheCardItMatchedAndRepeatsInTheFileAreEachCreated)
{
    TempProgramFolder program;
    TempDatabase base(program.path());
    writeCards(base.path(), {card({{1, "1 1                    1"}, {3, "DURAND"}, {4, "Marie"}, {6, "17000"}}),
                             card({{1, "1 1                    1"}, {3, "ROY"},
                                   {9, "06 12 34 56 78"}, {10, "roy@example.fr"}})});
    auto db = std::move(tb::Database::open(base.path()).value());
    const auto contact = [](const std::map<int, QString>& fields) {
        tb::Contact c;
        for (const auto& [k, text] : fields)
            c.field(k) = text;
        return c;
    };
    const std::vector<tb::Contact> contacts = {
        contact({{3, "Durand"}, {4, "marie"}, {6, "17000"}, {10, "roy@example.fr"}}),
        contact({{3, "Autre"}, {10, "ROY@example.fr"}}), contact({{3, "Encore"}, {9, "+33 6 12 34 56 78"}}),
        contact({{3, "Neuf"}, {4, "Léa"}}), contact({{3, "NEUF"}, {4, "lea"}}),
    };
    std::vector<std::pair<long long, tb::DuplicateRule>> asked;
    const auto skip = [&](const CardRecord&, long long n, const CardRecord&, tb::DuplicateRule rule) {
        asked.emplace_back(n, rule);
        return tb::DuplicateDecision{tb::DuplicateChoice::Skip, false};
    };
    const tb::ImportReport report = tb::importContacts(*db, contacts, {}, skip);
    ASSERT_FALSE(report.error);
    // The names come first; then the e-mail, then the mobile.
    EXPECT_EQ(asked, (std::vector<std::pair<long long, tb::DuplicateRule>>{
                         {1, tb::DuplicateRule::Names}, {2, tb::DuplicateRule::Email}, {2, tb::DuplicateRule::Mobile}}));
    EXPECT_EQ(report.created, 2);
    EXPECT_EQ(db->count(), 4);
    EXPECT_TRUE(report.notes.contains("NEUF lea : même contact que le n° 4 du fichier, créé lui aussi (fiche n° 4)"));
    EXPECT_TRUE(report.notes.contains("Autre : déjà dans la fiche n° 2 (même adresse e-mail), ignorée"));
    // The cards of this import are duplicates for the next one.
    const tb::ImportReport again = tb::importContacts(*db, {contacts[3]}, {}, skip);
    EXPECT_EQ(again.skipped, 1);
    EXPECT_EQ(asked.back(), std::make_pair(3LL, tb::DuplicateRule::Names));
}

}  // namespace
