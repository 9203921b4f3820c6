// Contacts becoming cards: letters, widths, pins, duplicates, failures.
#include "core/base/codepage.h"
#include "core/db/backups.h"
#include "core/db/database.h"
#include "core/db/demo_database.h"
#include "core/exchange/card_import.h"
#include "exchange_samples.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace testing_support;
using exchange_samples::card;
using tb::DuplicateChoice;

namespace {

tb::Contact contact(const std::map<int, QString>& fields)
{
    tb::Contact c;
    for (const auto& [k, text] : fields)
        c.field(k) = text;
    return c;
}

const QStringList kCaptions = tb::exchangeCaptions({});

TEST(ContactToCard, WritesMissingLettersAsTheirNearestCutsToWidthsAndListsEachChange)
{
    tb::Contact c = contact({{3, "Wałęsa"}, {4, "Łukasz 😀"}, {5, "Rue du Général de Gaulle prolongée, bâtiment C"},
                             {8, "+33 (0)1 23 45 67 89"}, {9, "+33 6 12 34 56 78"}, {6, "59000"}});
    c.notKept << QStringLiteral("autre portable : 07 00");
    QStringList notes;
    const CardRecord r = cardOfContact(c, kCaptions, {}, 3, 0, &notes);
    EXPECT_EQ(r.field(3), tb::padField("Walesa", 15));
    EXPECT_EQ(r.field(4), tb::padField("Lukasz ?", 15));
    EXPECT_EQ(r.field(5), "Rue du Général de Gaulle prolongée, bâti");
    EXPECT_EQ(r.field(8), tb::padField("01 23 45 67 89", 15));
    EXPECT_EQ(r.field(9), tb::padField("06 12 34 56 78", 15));
    EXPECT_EQ(r.marker(), 3);
    c.field(8) = QStringLiteral("+33-4-91-00-00-00");  // as a tel: address gives it
    EXPECT_EQ(cardOfContact(c, kCaptions, {}, 3, 0, nullptr).field(8), tb::padField("04 91 00 00 00", 15));
    EXPECT_EQ(notes, QStringList({"Wałęsa Łukasz 😀 : « Wałęsa » écrit « Walesa »",
                                  "Wałęsa Łukasz 😀 : « Łukasz 😀 » écrit « Lukasz ? »",
                                  "Wałęsa Łukasz 😀 : « Rue » coupé à 40 caractères, perdu : « ment C »",
                                  "Wałęsa Łukasz 😀 : non repris, autre portable : 07 00"}));
}

TEST(ContactToCard, PlacesPinsNearTheirDepartmentOnTheDefaultMapOrAtTheClickedPoint)
{
    for (const auto& [code, department] :
         std::vector<std::pair<QString, int>>{{"33000", 33}, {"2A004", 20}, {"20200", 20}, {"75008", 75}, {"01000", 1}}) {
        const tb::DepartmentSpot* spot = tb::departmentSpot(department);
        ASSERT_TRUE(spot);
        for (long long i : {0, 1, 17, 63, 64, 1000}) {
            bool found = false;
            const QPointF p = tb::departmentPoint(code, i, &found);
            EXPECT_TRUE(found);
            EXPECT_LE(std::hypot(p.x() - spot->x, p.y() - spot->y), spot->radius + 1.0) << code.toStdString();
        }
    }
    // Two cards of one department do not share a pin.
    EXPECT_NE(tb::departmentPoint("33000", 0), tb::departmentPoint("33000", 1));
    QStringList notes;
    const CardRecord overseas = cardOfContact(contact({{6, "97400"}}), kCaptions, {}, 1, 0, &notes);
    EXPECT_EQ(overseas.x(), 50);
    EXPECT_EQ(overseas.y(), 380);
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("« 97400 »"));
    const CardRecord clicked = cardOfContact(contact({{6, "33000"}}), kCaptions, {false, QPointF(12, 34)}, 1, 5, nullptr);
    EXPECT_EQ(clicked.x(), 12);
    EXPECT_EQ(clicked.y(), 34);
}

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeCards(base.path(), {card({{1, "1 1                    1"}, {3, "HÉBERT"}, {4, "Cécile"}, {6, "45000"},
                                       {8, "02 38 00 00 00"}})});
        db = std::move(tb::Database::open(base.path()).value());
    }
    TempProgramFolder program;
    TempDatabase base{program.path()};
    std::unique_ptr<tb::Database> db;
    // Two contacts matching card 1, one new.
    std::vector<tb::Contact> contacts = {
        contact({{3, "Hebert"}, {4, "cecile"}, {6, "45000"}, {8, "09 99 99 99 99"}, {10, "cecile@example.fr"}}),
        contact({{3, "NOUVEAU"}, {6, "45000"}}), contact({{3, "hébert"}, {4, "Cécile"}, {6, "45000"}, {11, "Notaire"}}),
    };
};

TEST_F(ImportTest, EachAnswerToADuplicateSkipsCreatesOrFillsAndTheReportSaysIt)
{
    const QString same = QStringLiteral("(même nom, mêmes prénoms et même code postal)");
    const auto skip = tb::importContacts(*db, contacts, {}, tb::alwaysAnswer(DuplicateChoice::Skip));
    ASSERT_FALSE(skip.error);
    EXPECT_EQ(db->count(), 2);
    EXPECT_EQ(skip.summary(), "1 fiche(s) créée(s), 0 complétée(s), 2 ignorée(s).");
    EXPECT_TRUE(skip.notes.contains("Hebert cecile : déjà dans la fiche n° 1 " + same + ", ignorée"));
    // Nothing else is listed of a skipped contact: its pin, cuts or letters do not matter.
    tb::Contact far = contacts[0];
    far.field(5) = QString(50, u'x');
    EXPECT_EQ(tb::importContacts(*db, {far}, {}, tb::alwaysAnswer(DuplicateChoice::Skip)).notes,
              QStringList{"Hebert cecile : déjà dans la fiche n° 1 " + same + ", ignorée"});

    db.reset();
    SetUp();
    ASSERT_TRUE(db->search("nouveau"));  // the search box's index, read before
    const auto create = tb::importContacts(*db, contacts, {}, tb::alwaysAnswer(DuplicateChoice::Create));
    ASSERT_FALSE(create.error);
    const auto found = db->search(QStringLiteral("nouveau"));
    ASSERT_TRUE(found && found->list.size() == 1);
    EXPECT_EQ(found->list.number(0), 3);
    EXPECT_EQ(create.created, 3);
    EXPECT_EQ(db->count(), 4);
    EXPECT_EQ(db->card(4)->field(3).trimmed(), "HÉBERT");
    EXPECT_TRUE(create.notes.contains("hébert Cécile : créée bien que déjà dans la fiche n° 1 " + same));

    db.reset();
    SetUp();
    const auto fill = tb::importContacts(*db, contacts, {}, tb::alwaysAnswer(DuplicateChoice::Fill));
    ASSERT_FALSE(fill.error);
    EXPECT_EQ(fill.filled, 2);
    EXPECT_EQ(fill.created, 1);
    const CardRecord c = *db->card(1);
    EXPECT_EQ(c.field(3).trimmed(), "HÉBERT");
    EXPECT_EQ(c.field(8).trimmed(), "02 38 00 00 00");  // kept
    EXPECT_EQ(c.field(10).trimmed(), "cecile@example.fr");
    EXPECT_EQ(c.field(11).trimmed(), "Notaire");
    EXPECT_EQ(c.x(), 1);  // the pin stays
}

TEST_F(ImportTest, AnAnswerForOneIsAskedAgainAnAnswerForAllIsNot)
{
    int asked = 0;
    bool forAll = false;
    auto answer = [&](const CardRecord&, long long n, const CardRecord& existing, tb::DuplicateRule rule) {
        EXPECT_EQ(rule, tb::DuplicateRule::Names);
        EXPECT_EQ(n, 1);
        EXPECT_EQ(existing.field(3).trimmed(), "HÉBERT");
        ++asked;
        return tb::DuplicateDecision{DuplicateChoice::Skip, forAll};
    };
    ASSERT_FALSE(tb::importContacts(*db, contacts, {}, answer).error);
    EXPECT_EQ(asked, 2);
    asked = 0;
    forAll = true;
    ASSERT_FALSE(tb::importContacts(*db, contacts, {}, answer).error);
    EXPECT_EQ(asked, 1);
    // The card the first import made is a duplicate for the second.
    EXPECT_EQ(db->count(), 2);
}

TEST_F(ImportTest, HundredsOfContactsImportInBatchesWithFewFilesOpenAndARepeatInTheFileIsCreatedToo)
{
    std::vector<tb::Contact> many;
    for (int i = 0; i < 700; ++i)
        many.push_back(contact({{3, QStringLiteral("CARTE%1").arg(i)}, {6, "33000"}}));
    // Contact 10 again with an e-mail address: duplicates are the cards there before.
    many.insert(many.begin() + 20, contact({{3, "carte10"}, {6, "33000"}, {10, "dix@example.fr"}}));
    EXPECT_TRUE(underOpenFileLimit(32, [&] {
        const auto report = tb::importContacts(*db, many, {}, tb::alwaysAnswer(DuplicateChoice::Fill));
        return !report.error && report.created == 701 && report.filled == 0;
    }));
    auto reopened = tb::Database::open(base.path());
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened.value()->count(), 702);
    EXPECT_EQ(reopened.value()->card(12)->field(10).trimmed(), QString());
    EXPECT_EQ(reopened.value()->card(22)->field(10).trimmed(), "dix@example.fr");
    EXPECT_EQ(reopened.value()->card(702)->field(3).trimmed(), "CARTE699");
    EXPECT_TRUE(QFileInfo::exists(base.file("M702.txt")));
}

TEST_F(ImportTest, KeepsOneAutomaticBackupReplacedAtEachImport)
{
    tb::ImportOptions options;
    options.programFolder = program.path();
    ASSERT_FALSE(tb::importContacts(*db, {contacts[1]}, options, tb::alwaysAnswer(DuplicateChoice::Skip)).error);
    const QString kept = tb::automaticBackupFolder(program.path(), *db);
    EXPECT_EQ(kept, program.path() + QStringLiteral("Sauvegardes/BaseTest/"));
    EXPECT_EQ(readBytes(kept + QStringLiteral("NBFiches.dat")).trimmed(), QByteArray("1"));
    ASSERT_FALSE(tb::importContacts(*db, {contacts[1]}, options, tb::alwaysAnswer(DuplicateChoice::Create)).error);
    EXPECT_EQ(readBytes(kept + QStringLiteral("NBFiches.dat")).trimmed(), QByteArray("2"));
    EXPECT_EQ(QDir(program.path() + QStringLiteral("Sauvegardes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{"BaseTest"});
}

TEST_F(ImportTest, AFullDiskStopsTheImportWithNoCardHalfWayAndTheDatabaseAsItWas)
{
    std::vector<tb::Contact> many;
    for (int i = 0; i < 20; ++i)
        many.push_back(contact({{3, QStringLiteral("CARTE%1").arg(i)}, {6, "33000"}}));
    // Records past 6000 bytes fail: the 20 new cards cannot all be written.
    EXPECT_TRUE(underFileSizeLimit(6000, [&] {
        const auto report = tb::importContacts(*db, many, {}, tb::alwaysAnswer(DuplicateChoice::Create));
        return report.error && report.error->number == tb::kErrorDiskFull && report.created == 0;
    }));
    auto reopened = tb::Database::open(base.path());
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened.value()->count(), 1);
    EXPECT_TRUE(reopened.value()->countCorrection().isEmpty());
    EXPECT_EQ(readBytes(base.file("lesfiches.dat")).size(), 630);

    // A side file that cannot be written stops it the same way.
    EXPECT_TRUE(underFileSizeLimit(5000, [&] {
        const auto report = tb::importContacts(*reopened.value(), {many[0], many[1]}, {},
                                               tb::alwaysAnswer(DuplicateChoice::Create));
        return report.error && report.created == 0;
    }));
    EXPECT_EQ(tb::Database::open(base.path()).value()->count(), 1);
    // With room, the same import makes every card.
    const auto report = tb::importContacts(*reopened.value(), many, {}, tb::alwaysAnswer(DuplicateChoice::Create));
    ASSERT_FALSE(report.error);
    EXPECT_EQ(reopened.value()->count(), 21);
    EXPECT_EQ(reopened.value()->card(21)->field(3).trimmed(), "CARTE19");
    EXPECT_TRUE(QFileInfo::exists(base.file("F21.xls")));

    // The automatic backup failing stops the import before any card.
    tb::ImportOptions options;
    options.programFolder = program.path();
    EXPECT_TRUE(underFileSizeLimit(7000, [&] {
        const auto report = tb::importContacts(*reopened.value(), many, options, tb::alwaysAnswer(DuplicateChoice::Create));
        return report.error && report.created == 0;
    }));
    EXPECT_EQ(tb::Database::open(base.path()).value()->count(), 21);
    EXPECT_FALSE(QFileInfo::exists(tb::automaticBackupFolder(program.path(), *reopened.value())));
}

}  // namespace
