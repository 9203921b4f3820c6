// Deleting a card: the last one takes its number, files and all; the card kept whole in the trash and brought back
// as the next number; a deletion stopped after any step finished or undone by the next opening; archiving; backups.
#include "core/db/backups.h"
#include "core/db/carddav_state.h"
#include "core/db/database.h"
#include "core/db/database_lock.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;
using Keep = tb::CardDeletion::Keep;

namespace {

// The ten side files, spelled in several cases: they are found whatever the case.
const char* const kSides[][2] = {{"F", ".txt"},     {"F", ".xls"},     {"R", ".txt"},     {"I", ".txt"},
                                 {"M", ".txt"},     {"DtxtA", ".txt"}, {"dtxtB", ".TXT"}, {"ScanA", ".jpg"},
                                 {"SCANB", ".JPG"}, {"photo", ".jpg"}};

QString sideName(int kind, long long n)
{
    return QLatin1String(kSides[kind][0]) + QString::number(n) + QLatin1String(kSides[kind][1]);
}

QByteArray sideContent(int kind, long long n)
{
    return QByteArray("side ") + QByteArray::number(kind) + " of card " + QByteArray::number(n);
}

// Five cards, each with its ten side files.
struct FiveCards {
    TempDatabase folder;
    std::vector<CardRecord> cards;

    // twin: card 2 is a copy of card 5, as a card typed twice. sidesFrom: its
    // side files linked, not made again (a deletion renames and removes side
    // files, never writes into them: their bytes are checked all the same).
    FiveCards(const QString& program, const QString& name, bool twin = false, const FiveCards* sidesFrom = nullptr)
        : folder(program, name)
    {
        for (int i = 1; i <= 5; ++i)
            cards.push_back(makeCard(QStringLiteral("NOM%1").arg(i), "P", i, 10 * i, 10 * i));
        if (twin)
            cards[1] = cards[4];
        writeCards(folder.path(), cards);
        for (int n = 1; n <= 5; ++n)
            for (int kind = 0; kind < 10; ++kind) {
                const QByteArray file = QFile::encodeName(folder.file(sideName(kind, n)));
                if (!sidesFrom
                    || ::link(QFile::encodeName(sidesFrom->folder.file(sideName(kind, n))).constData(), file.constData()))
                    writeBytes(QFile::decodeName(file), sideContent(kind, n));
            }
    }

    // After deleting card d of 5, checked file by file, byte by byte.
    void expectDeleted(long long d) const
    {
        SCOPED_TRACE("deleted card " + std::to_string(d));
        EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), " 4\r\n");
        const QByteArray records = readBytes(folder.file("lesfiches.dat"));
        ASSERT_EQ(records.size(), 5 * 630);
        for (long long n = 1; n <= 4; ++n)
            EXPECT_EQ(records.mid((n - 1) * 630, 630), cards[n == d ? 4 : n - 1].toBytes()) << n;
        EXPECT_EQ(records.mid(4 * 630), QByteArray(630, ' '));
        for (long long n = 1; n <= 4; ++n)
            for (int kind = 0; kind < 10; ++kind)
                EXPECT_EQ(readBytes(folder.file(sideName(kind, n))), sideContent(kind, n == d ? 5 : n))
                    << sideName(kind, n).toStdString();
        for (const QString& name : QDir(folder.path()).entryList(QDir::Files))
            EXPECT_FALSE(name.contains(u'5') || name == QLatin1String("suppression.txt")) << name.toStdString();
    }
};

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

std::unique_ptr<tb::Database> openDb(const TempDatabase& folder)
{
    return std::move(tb::Database::open(folder.path())).value();
}

struct StopHere {};

// Runs deletion stopped after step stopAt, as a crash would stop it; true when it ran to its end.
bool deletionStoppedAt(int stopAt, const std::function<tb::Status()>& deletion)
{
    int steps = 0;
    tb::CardDeletion::setStepHook([&] {
        if (++steps == stopAt)
            throw StopHere{};
    });
    bool finished = false;
    try {
        finished = bool(deletion());
    } catch (const StopHere&) {
    }
    tb::CardDeletion::setStepHook({});
    return finished;
}

struct CardDeletionTest : ::testing::Test {
    TempProgramFolder program;
    void TearDown() override { tb::CardDeletion::setStepHook({}); }
};

TEST_F(CardDeletionTest, TheLastCardTakesTheFreedNumberWithItsRecordAndSideFiles)
{
    for (const auto& [d, twin] : {std::pair{2LL, false}, std::pair{5LL, false}, std::pair{2LL, true}}) {
        FiveCards base(program.path(), QStringLiteral("Base%1%2").arg(d).arg(twin), twin);
        auto db = openDb(base.folder);
        EXPECT_EQ(db->pins().cardsAt(50, 50).size(), twin ? 2u : 1u);
        // The deleted card's photo under a second spelling goes too.
        writeBytes(base.folder.file("PHOTO2.JPG"), "old");
        QSignalSpy renumbered(db.get(), &tb::Database::cardsRenumbered);
        ASSERT_TRUE(db->deleteCard(d));
        EXPECT_EQ(QFile::exists(base.folder.file("PHOTO2.JPG")), d == 5);
        EXPECT_EQ(db->count(), 4);
        EXPECT_EQ(renumbered.size(), 1);
        base.expectDeleted(d);
        // The pins follow the new numbers.
        EXPECT_EQ(db->pins().cardsAt(50, 50), d == 5 ? std::vector<long long>{} : std::vector<long long>{2});
        EXPECT_TRUE(db->pins().cardsAt(20, 20).empty() || d == 5);
    }
    // No such card, or a database opened to read: nothing happens.
    FiveCards base(program.path(), "Refus");
    auto db = openDb(base.folder);
    EXPECT_FALSE(db->deleteCard(0));
    EXPECT_FALSE(db->deleteCard(6));
    EXPECT_FALSE((*tb::Database::open(base.folder.path(), tb::Database::Access::ReadOnly))->deleteCard(1));
    EXPECT_EQ(readBytes(base.folder.file("NBFiches.dat")), "5\r\n");
    EXPECT_EQ(QDir(base.folder.path()).entryList({"*5.*"}, QDir::Files).size(), 10);
}

TEST_F(CardDeletionTest, ADeletionStoppedAfterAnyStepIsFinishedOrUndoneByTheNextOpeningTheSyncStateFollowingOnce)
{
    // The crash test kills a deletion kept in the trash at some of its steps and brings the card back whole
    // from the trash; here every step, both ways, the bytes of each file and the sync state are checked.
    const auto entry = [](long long n) {
        return tb::CardDavEntry{n, QStringLiteral("uid-%1").arg(n), QStringLiteral("/b/%1.vcf").arg(n), "\"e\"", {}};
    };
    tb::CardDavState synced;
    synced.server = "https://dav.example.fr/";
    synced.cards = {entry(1), entry(2), entry(3), entry(5)};
    const FiveCards model(program.path(), "Modele");
    for (const Keep keep : {Keep::InTrash, Keep::Nothing}) {
        int stopped = 0;
        for (int stopAt = 1;; ++stopAt) {
            SCOPED_TRACE("kept " + std::to_string(int(keep)) + ", stopped after step " + std::to_string(stopAt));
            const FiveCards base(program.path(), QStringLiteral("Arret%1-%2").arg(int(keep)).arg(stopAt), false, &model);
            ASSERT_TRUE(tb::writeCardDavState(base.folder.path(), synced));
            const bool finished = deletionStoppedAt(stopAt, [&] { return openDb(base.folder)->deleteCard(2, keep); });
            stopped += !finished;
            // The next opening finishes the deletion, or undoes it when the
            // card never reached the trash (nothing changed yet).
            auto db = openDb(base.folder);
            EXPECT_FALSE(tb::Database::deletionPending(base.folder.path()));
            const auto entries = db->trash().entries();
            ASSERT_TRUE(entries);
            const auto state = tb::readCardDavState(base.folder.path());
            ASSERT_TRUE(state);
            if (keep == Keep::InTrash && stopAt == 1) {
                EXPECT_TRUE(entries->empty());
                EXPECT_EQ(db->count(), 5);
                EXPECT_EQ(state->cards.size(), 4u);
                EXPECT_TRUE(state->deletedHere.empty());
            } else {
                EXPECT_EQ(db->count(), 4);
                base.expectDeleted(2);
                // Card 5 is card 2 now; the old card 2 is to be deleted there, once.
                ASSERT_EQ(state->cards.size(), 3u);
                EXPECT_EQ(state->entry(2)->uid, "uid-5");
                EXPECT_EQ(state->entry(3)->uid, "uid-3");
                ASSERT_EQ(state->deletedHere.size(), 1u);
                EXPECT_EQ(state->deletedHere[0].uid, "uid-2");
                ASSERT_EQ(entries->size(), keep == Keep::InTrash ? 1u : 0u);
                if (keep == Keep::InTrash) {
                    // Brought back from the trash, it is a new card for the sync.
                    const auto restored = db->restoreFromTrash(entries->front().number);
                    ASSERT_TRUE(restored);
                    EXPECT_EQ(tb::readCardDavState(base.folder.path())->entry(*restored), nullptr);
                }
            }
            if (finished)
                break;
        }
        // Every file change was a place to stop: intent, trash, ten side
        // files, record, ten renames, count, blank record, sync state, intent.
        EXPECT_EQ(stopped, keep == Keep::InTrash ? 27 : 26);
    }

    // (A full disk in the middle of a deletion is among the failed writes of the database.)
    // An intent that makes no sense is reported, never guessed at.
    const FiveCards base(program.path(), "Absurde");
    writeBytes(base.folder.file("suppression.txt"), "3\r\n1\r\n");
    const auto refused = tb::Database::open(base.folder.path());
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().message().contains("suppression.txt"));
}

TEST_F(CardDeletionTest, ArchivingAndReactivatingKeepTheRecordButTheMarker)
{
    TempDatabase folder(program.path());
    const CardRecord card = makeCard("DURAND", "Luc", 6, 123, 456, "17000", "LA ROCHELLE");
    writeCards(folder.path(), {makeCard("UN", "X", 1, 1, 1), card});
    auto db = openDb(folder);
    QByteArray expected = card.toBytes();
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(db->setArchived(2, true));
        expected[0] = '0';
        EXPECT_EQ(db->card(2)->toBytes(), expected);
        EXPECT_TRUE(db->pins().cardsAt(123, 456).empty());
        ASSERT_TRUE(db->setArchived(2, false));
        // Back as marker 1, whatever its colour was.
        expected[0] = '1';
        EXPECT_EQ(db->card(2)->toBytes(), expected);
        EXPECT_EQ(db->pins().cardsAt(123, 456), std::vector<long long>{2});
    }
    EXPECT_EQ(readBytes(folder.file("lesfiches.dat")).left(630), makeCard("UN", "X", 1, 1, 1).toBytes());
    EXPECT_FALSE(db->setArchived(3, true));
}

TEST_F(CardDeletionTest, ADeletedCardIsKeptWholeComesBackAsTheNextNumberOrGoesAndATrashThatFailsChangesNothing)
{
    const FiveCards base(program.path(), "Corbeille");
    const TempDatabase& folder = base.folder;
    const std::vector<QByteArray> before = cardUnits(folder.path());
    auto db = openDb(folder);
    ASSERT_TRUE(db->deleteCard(2));

    // In the trash: the record, the ten side files as they were named, the day.
    const auto entries = db->trash().entries();
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u);
    const tb::TrashEntry& e = entries->front();
    EXPECT_EQ(e.number, 1);
    EXPECT_EQ(e.formerNumber, 2);
    EXPECT_EQ(readBytes(db->trash().entryFolder(1) + "SCANB2.JPG"), sideContent(8, 2));
    EXPECT_EQ(tb::trashListLine(e).section(u'\t', 0, 1), "1\t" + QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_TRUE(tb::trashListLine(e).section(u'\t', 2).startsWith("NOM2"));

    QSignalSpy stored(db.get(), &tb::Database::cardStored);
    const tb::Result<long long> back = db->restoreFromTrash(1);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, 5);
    EXPECT_EQ(stored.size(), 1);
    EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "5\r\n");
    EXPECT_EQ(db->pins().cardsAt(20, 20), std::vector<long long>{5});
    EXPECT_TRUE(db->trash().entries()->empty());
    db.reset();
    EXPECT_EQ(cardUnits(folder.path()), before);
    // Nothing of the restoration is left behind.
    EXPECT_EQ(QDir(folder.file("Corbeille")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
    EXPECT_FALSE(QFile::exists(folder.file("restauration.txt")));

    // Entries go one by one or all.
    db = openDb(folder);
    ASSERT_TRUE(db->deleteCard(1));
    ASSERT_TRUE(db->deleteCard(1));
    ASSERT_TRUE(db->deleteCard(1, Keep::Nothing));
    EXPECT_EQ(db->trash().entries()->size(), 2u);
    ASSERT_TRUE(db->trash().remove(1));
    EXPECT_FALSE(db->trash().remove(1));
    EXPECT_EQ(db->trash().entries()->front().number, 2);
    ASSERT_TRUE(db->trash().empty());
    EXPECT_TRUE(db->trash().entries()->empty());

    // A trash that cannot be written to: the card stays where it was.
    const FiveCards refusal(program.path(), "Refus");
    const TempDatabase& refused = refusal.folder;
    const std::vector<QByteArray> kept = cardUnits(refused.path());
    writeBytes(refused.file("Corbeille"), "not a folder");
    auto other = openDb(refused);
    EXPECT_FALSE(other->deleteCard(2));
    EXPECT_EQ(other->count(), 5);
    EXPECT_FALSE(tb::Database::deletionPending(refused.path()));
    other.reset();
    EXPECT_EQ(cardUnits(refused.path()), kept);

    // A restoration that fails on a full disk is undone: the card stays in the trash.
    QFile::remove(refused.file("Corbeille"));
    ASSERT_TRUE(openDb(refused)->deleteCard(2));
    EXPECT_FALSE(underFileSizeLimit(10, [&] { return bool(openDb(refused)->restoreFromTrash(1)); }));
    auto again = openDb(refused);
    EXPECT_EQ(again->count(), 4);
    EXPECT_EQ(again->trash().entries()->size(), 1u);
    EXPECT_TRUE(tb::sideFilesOnDisk(refused.path(), 5).isEmpty());
    EXPECT_FALSE(QFile::exists(refused.file("restauration.txt")));
}

// Backups: whole copies of a database folder, taken even while cards are
// being stored, never left half made, and opened again as a new database.

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeCards(base.path(), {makeCard("UN", "a", 1, 10, 10), makeCard("DEUX", "b", 1, 20, 20)});
        db = std::move(tb::Database::open(base.path()).value());
    }
    QStringList backups() const { return QDir(where.path()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot); }
    TempProgramFolder program;
    TempDatabase base{program.path(), "BasePerso"};
    std::unique_ptr<tb::Database> db;
    QTemporaryDir where;
    const QDateTime when{QDate(2026, 12, 7), QTime(14, 5)};
};

// Every file of the folder, with its bytes.
std::map<QString, QByteArray> filesOf(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files[name] = readBytes(folder + u'/' + name);
    return files;
}

TEST_F(BackupTest, CopiesEveryFileIntoADatedFolderBesideTheDatabaseNeverInsideIt)
{
    writeBytes(base.file("suppression.txt"), "1\r\n2\r\n");
    const auto made = tb::backupToDatedFolder(*db, where.path(), when);
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, where.path() + QStringLiteral("/BasePerso 2026-12-07 14h05/"));
    // All but the lock of this program, which would keep the copy locked.
    auto files = filesOf(base.path());
    ASSERT_EQ(files.erase(tb::databaseLockName()), 1u);
    EXPECT_EQ(filesOf(*made), files);
    EXPECT_EQ(*tb::backupToDatedFolder(*db, program.path(), when), program.path() + "BasePerso 2026-12-07 14h05/");
    EXPECT_EQ(*tb::backupToDatedFolder(*db, where.path(), when), where.path() + "/BasePerso 2026-12-07 14h05 (2)/");

    // Into itself it would copy itself.
    ASSERT_TRUE(QDir().mkpath(base.file("Corbeille")));
    for (const QString& inside : {base.path().chopped(1), base.file("Corbeille")}) {
        const auto refused = tb::backupToDatedFolder(*db, inside, when);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().text, " Une sauvegarde ne peut pas être faite dans la base de données elle-même.");
    }
    EXPECT_TRUE(QDir(base.file("Corbeille")).isEmpty());
}

TEST_F(BackupTest, ABackupThatCannotBeWrittenOrWasKilledLeavesNoHalfCopy)
{
    const QString locked = where.path() + QStringLiteral("/protege");
    QDir().mkpath(locked);
    // Another user may read the database, not write the folder (root gives its rights up).
    for (const QString& open : {program.path(), where.path()})
        ::chmod(QFile::encodeName(open).constData(), 0755);
    ::chmod(QFile::encodeName(locked).constData(), 0555);
    const int refused = codeWithoutRootRights([&] {
        const auto made = tb::backupToDatedFolder(*db, locked, when);
        return made ? 0 : made.error().number == tb::kErrorPermission ? 1 : 2;
    });
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    EXPECT_EQ(refused, 1);
    EXPECT_TRUE(QDir(locked).isEmpty());
    QDir(locked).removeRecursively();
    EXPECT_EQ(tb::backupToDatedFolder(*db, where.path() + "/absent", when).error().number, tb::kErrorPathNotFound);

    // What a killed backup and a killed restore left goes at the next one.
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const QString killed = ".BasePerso 2026-12-07 14h05.inachevee-" + QString::number(child);
    for (const QString& folder : {where.path() + u'/' + killed, program.path() + killed}) {
        ASSERT_TRUE(QDir().mkpath(folder));
        writeBytes(folder + "/NBFiches.dat", "2\r\n");
    }
    const auto backup = tb::backupToDatedFolder(*db, where.path(), when);
    ASSERT_TRUE(backup);
    EXPECT_EQ(backups(), QStringList{"BasePerso 2026-12-07 14h05"});
    ASSERT_TRUE(tb::restoreBackup(*backup, program.path()));
    EXPECT_FALSE(QFileInfo::exists(program.path() + killed));
    // Without room, no copy is there at all, hidden or not.
    EXPECT_FALSE(underFileSizeLimit(700, [&] { return bool(tb::backupToDatedFolder(*db, where.path(), when)); }));
    EXPECT_EQ(backups().size(), 1);
}

// Each backup opens with a count that its records hold and the cards as
// stored: whatever point of a store it was taken at.
void expectWhole(const QString& folder, long long atLeast)
{
    auto copy = tb::Database::open(folder, tb::Database::Access::ReadOnly);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy.value()->countCorrection().isEmpty()) << folder.toStdString();
    EXPECT_GE(copy.value()->count(), atLeast);
    for (long long n = 3; n <= copy.value()->count(); ++n)
        EXPECT_EQ(copy.value()->card(n)->field(3).trimmed(), QStringLiteral("N%1").arg(n)) << folder.toStdString();
}

TEST_F(BackupTest, ABackupTakenWhileCardsAreBeingStoredIsWhole)
{
    // Within the program: a backup taken at each stored card.
    int taken = 0;
    QObject::connect(db.get(), &tb::Database::cardStored, [&](long long n) {
        const QString to = where.path() + QStringLiteral("/pendant%1/").arg(taken++);
        ASSERT_TRUE(db->backup(to));
        expectWhole(to, n - 1);
    });
    for (int n = 3; n <= 5; ++n)
        ASSERT_TRUE(db->createCard(makeCard(QStringLiteral("N%1").arg(n), "x", 1, n, n)));
    EXPECT_EQ(taken, 3);

    // Another program storing cards at the same time.
    std::atomic<bool> done = false;
    QThread* writer = QThread::create([&] {
        auto other = tb::Database::open(base.path());
        for (int n = 6; n <= 60; ++n)
            (void)other.value()->createCard(makeCard(QStringLiteral("N%1").arg(n), "x", 1, n, n));
        done = true;
    });
    writer->start();
    int copies = 0;
    while (!done || copies < 3) {
        const QString to = where.path() + QStringLiteral("/concurrent%1/").arg(copies++);
        ASSERT_TRUE(db->backup(to));
        expectWhole(to, 5);
    }
    writer->wait();
    delete writer;
}

TEST_F(BackupTest, RestoringOpensACopyOfTheBackupAsANewDatabaseAndNeverWritesTheBackup)
{
    const auto made = tb::backupToDatedFolder(*db, where.path(), QDateTime(QDate(2026, 1, 2), QTime(3, 4)));
    ASSERT_TRUE(made);
    const auto before = filesOf(*made);
    const auto restored = tb::restoreBackup(*made, program.path());
    ASSERT_TRUE(restored);
    EXPECT_EQ(*restored, program.path() + QStringLiteral("BasePerso 2026-01-02 03h04/"));
    auto opened = tb::Database::open(*restored);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.value()->count(), 2);
    ASSERT_TRUE(opened.value()->createCard(makeCard("TROIS", "c", 1, 1, 1)));
    EXPECT_EQ(filesOf(*made), before);

    const auto refused = tb::restoreBackup(where.path(), program.path());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().text, " Ce dossier ne contient pas de base de données Tabulon !");
}

}  // namespace
