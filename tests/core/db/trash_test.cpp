// The trash: a deleted card kept whole and brought back as the next number,
// a deletion stopped after any of its steps losing nothing, and the trash's
// own commands failing without harm.
#include "core/db/database.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

namespace {

const char* const kSides[] = {"F%1.txt", "F%1.xls",    "R%1.txt",    "I%1.txt",    "M%1.txt",
                              "DtxtA%1.txt", "dtxtB%1.TXT", "ScanA%1.jpg", "SCANB%1.JPG", "photo%1.jpg"};

// Five cards, each with its ten side files, whose content names the card.
void makeFiveCards(const TempDatabase& folder)
{
    std::vector<CardRecord> cards;
    for (int i = 1; i <= 5; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(i), "P", i, 10 * i, 10 * i));
    writeCards(folder.path(), cards);
    for (int n = 1; n <= 5; ++n)
        for (const char* side : kSides)
            writeBytes(folder.file(QString::fromLatin1(side).arg(n)), QByteArray(side) + " of card " + QByteArray::number(n));
}

// Each card as one unit (its record, and its side files by kind with their
// bytes), whatever its number: what must survive a deletion and its undoing.
std::vector<QByteArray> cardUnits(const QString& folder)
{
    auto db = tb::Database::open(folder, tb::Database::Access::ReadOnly);
    EXPECT_TRUE(db);
    std::vector<QByteArray> units;
    for (long long n = 1; n <= (*db)->count(); ++n) {
        QByteArray unit = (*db)->card(n)->toBytes();
        QStringList sides = tb::sideFilesOnDisk(folder, n);
        sides.sort();
        for (const QString& name : sides)
            unit += '|' + tb::renumberedSideFile(name, n, 0).toLatin1() + '=' + readBytes(folder + name);
        units.push_back(unit);
    }
    std::sort(units.begin(), units.end());
    return units;
}

struct StopHere {};

struct TrashTest : ::testing::Test {
    TempProgramFolder program;
    void TearDown() override { tb::CardDeletion::setStepHook({}); }
};

}  // namespace

TEST_F(TrashTest, ADeletedCardIsKeptWholeAndComesBackAsTheNextNumber)
{
    TempDatabase folder(program.path());
    makeFiveCards(folder);
    const std::vector<QByteArray> before = cardUnits(folder.path());
    const QByteArray card2 = tb::Database::open(folder.path()).value()->card(2)->toBytes();
    auto db = std::move(tb::Database::open(folder.path())).value();
    ASSERT_TRUE(db->deleteCard(2));

    // In the trash: the record, the ten side files as they were named, the day.
    const auto entries = db->trash().entries();
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u);
    const tb::TrashEntry& e = entries->front();
    EXPECT_EQ(e.number, 1);
    EXPECT_EQ(e.formerNumber, 2);
    EXPECT_EQ(e.card.toBytes(), card2);
    EXPECT_EQ(e.files.size(), 10);
    EXPECT_EQ(readBytes(db->trash().entryFolder(1) + "SCANB2.JPG"), "SCANB%1.JPG of card 2");
    EXPECT_EQ(tb::trashListLine(e).section(u'\t', 0, 1), "1\t" + QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_TRUE(tb::trashListLine(e).section(u'\t', 2).startsWith("NOM2"));
    // The database itself is as a deletion leaves it, the trash aside.
    EXPECT_EQ(db->count(), 4);
    EXPECT_TRUE(tb::sideFilesOnDisk(folder.path(), 5).isEmpty());

    QSignalSpy stored(db.get(), &tb::Database::cardStored);
    const tb::Result<long long> back = db->restoreFromTrash(1);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, 5);
    EXPECT_EQ(stored.size(), 1);
    EXPECT_EQ(db->card(5)->toBytes(), card2);
    EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "5\r\n");
    EXPECT_EQ(readBytes(folder.file("SCANB5.JPG")), "SCANB%1.JPG of card 2");
    EXPECT_EQ(db->pins().cardsAt(20, 20), std::vector<long long>{5});
    EXPECT_TRUE(db->trash().entries()->empty());
    db.reset();
    EXPECT_EQ(cardUnits(folder.path()), before);
    // Nothing of the restoration is left behind.
    EXPECT_EQ(QDir(folder.file("Corbeille")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
    EXPECT_FALSE(QFile::exists(folder.file("restauration.txt")));
}

TEST_F(TrashTest, ADeletionStoppedAfterAnyStepIsFinishedOrUndoneAndTheCardComesBack)
{
    int stopped = 0;
    for (int stopAt = 1;; ++stopAt) {
        SCOPED_TRACE("stopped after step " + std::to_string(stopAt));
        TempDatabase folder(program.path(), QStringLiteral("Arret%1").arg(stopAt));
        makeFiveCards(folder);
        const std::vector<QByteArray> before = cardUnits(folder.path());
        int steps = 0;
        tb::CardDeletion::setStepHook([&] {
            if (++steps == stopAt)
                throw StopHere{};
        });
        bool finished = false;
        try {
            auto db = std::move(tb::Database::open(folder.path())).value();
            finished = bool(db->deleteCard(2));
        } catch (const StopHere&) {
            ++stopped;
        }
        tb::CardDeletion::setStepHook({});
        // The next opening finishes the deletion (the card in the trash) or
        // undoes it (the card never reached it, nothing changed).
        auto db = std::move(tb::Database::open(folder.path())).value();
        EXPECT_FALSE(tb::Database::deletionPending(folder.path()));
        const auto entries = db->trash().entries();
        ASSERT_TRUE(entries);
        if (stopAt == 1) {
            EXPECT_TRUE(entries->empty());
            EXPECT_EQ(db->count(), 5);
        } else {
            ASSERT_EQ(entries->size(), 1u);
            EXPECT_EQ(db->count(), 4);
            ASSERT_TRUE(db->restoreFromTrash(entries->front().number));
        }
        db.reset();
        EXPECT_EQ(cardUnits(folder.path()), before);
        if (finished)
            break;
    }
    // Every file change of the deletion was a place to stop: intent, trash,
    // ten side files, record, ten renames, count, blank record, intent.
    EXPECT_EQ(stopped, 26);
}

TEST_F(TrashTest, EntriesGoOneByOneOrAllAndADeletionTheTrashRefusesChangesNothing)
{
    TempDatabase folder(program.path());
    makeFiveCards(folder);
    auto db = std::move(tb::Database::open(folder.path())).value();
    ASSERT_TRUE(db->deleteCard(1));
    ASSERT_TRUE(db->deleteCard(1));
    ASSERT_TRUE(db->deleteCard(1, tb::CardDeletion::Keep::Nothing));
    EXPECT_EQ(db->trash().entries()->size(), 2u);
    ASSERT_TRUE(db->trash().remove(1));
    EXPECT_FALSE(db->trash().remove(1));
    EXPECT_EQ(db->trash().entries()->front().number, 2);
    ASSERT_TRUE(db->trash().empty());
    EXPECT_TRUE(db->trash().entries()->empty());

    // A trash that cannot be written to: the card stays where it was.
    TempDatabase refused(program.path(), QStringLiteral("Refus"));
    makeFiveCards(refused);
    const std::vector<QByteArray> before = cardUnits(refused.path());
    writeBytes(refused.file("Corbeille"), "not a folder");
    auto other = std::move(tb::Database::open(refused.path())).value();
    EXPECT_FALSE(other->deleteCard(2));
    EXPECT_EQ(other->count(), 5);
    EXPECT_FALSE(tb::Database::deletionPending(refused.path()));
    other.reset();
    EXPECT_EQ(cardUnits(refused.path()), before);

    // A restoration that fails on a full disk is undone: the card stays in the trash.
    QFile::remove(refused.file("Corbeille"));
    other = std::move(tb::Database::open(refused.path())).value();
    ASSERT_TRUE(other->deleteCard(2));
    other.reset();
    EXPECT_FALSE(underFileSizeLimit(10, [&] {
        return bool(tb::Database::open(refused.path()).value()->restoreFromTrash(1));
    }));
    auto again = std::move(tb::Database::open(refused.path())).value();
    EXPECT_EQ(again->count(), 4);
    EXPECT_EQ(again->trash().entries()->size(), 1u);
    EXPECT_TRUE(tb::sideFilesOnDisk(refused.path(), 5).isEmpty());
    EXPECT_FALSE(QFile::exists(refused.file("restauration.txt")));
}
