// The open database: its lock, card creation in a safe order, stores, side files, names of every kind working or
// refused without a write outside the program and database folders; selections; demo cards; the CardDAV state.
#include "core/base/codepage.h"
#include "core/base/numeric.h"
#include "core/base/value_files.h"
#include "core/cards/card_store.h"
#include "core/cards/debt.h"
#include "core/db/carddav_settings.h"
#include "core/db/carddav_state.h"
#include "core/db/database.h"
#include "core/db/database_files.h"
#include "core/db/demo_database.h"
#include "core/db/selection_commands.h"
#include "core/exchange/csv.h"
#include "core/exchange/field_merge.h"
#include "core/postal/postal_directory.h"
#include "core/tools/note_text.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/write_failures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QUrlQuery>
#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

const QString kAlreadyOpen = QStringLiteral(" Cette base de données est déjà ouverte par un autre programme Tabulon !");

struct DatabaseTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    std::unique_ptr<tb::Database> open() { return std::move(tb::Database::open(folder.path())).value(); }
};

QStringList everything(const QString& root, const QString& except)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.startsWith(except))
            found << path;
    }
    found.sort();
    return found;
}

TEST_F(DatabaseTest, CreateCopiesTheTemplatesAndRefusesTakenNames)
{
    QList<tb::Error> missing;
    auto db = tb::Database::create(program.path(), "BasePerso", &missing);
    ASSERT_TRUE(db);
    EXPECT_TRUE(missing.isEmpty());
    for (const QString& f : tb::databaseTemplateFiles())
        if (f != "carte.txt")
            EXPECT_EQ(readBytes(program.file("BasePerso/" + f)), readBytes(program.file(f))) << f.toStdString();
    // The map is named by its whole path, whatever the current folder.
    EXPECT_EQ(tb::readPathValue(program.file("BasePerso/carte.txt")), program.file("frc.gif"));
    EXPECT_EQ(readBytes(program.file("dossier.txt")), "BasePerso\r\n");
    EXPECT_EQ((*db)->count(), 0);
    EXPECT_EQ(tb::Database::create(program.path(), "BasePerso").error().message(),
              "Erreur n° 75 :  Ce nom existe déja, choisissez un autre nom ! ");
    // The program folder holds the templates of new databases, never cards: it opens in no way.
    for (const auto access : {tb::Database::Access::ReadWrite, tb::Database::Access::ReadOnly})
        EXPECT_EQ(tb::Database::open(program.path(), access).error().text,
                  " Ce dossier est le dossier du programme, pas une base de données.");

    // A program folder without templates still makes a database that opens.
    QFile::remove(program.file("NBFiches.dat"));
    QFile::remove(program.file("F.xls"));
    ASSERT_TRUE(tb::Database::create(program.path(), "Nue", &missing));
    EXPECT_EQ(missing.size(), 2);
    EXPECT_EQ(missing.first().message(), "Erreur n° 53");
}

TEST_F(DatabaseTest, CreatingACardWritesRecordSideFilesThenCount)
{
    writeCards(folder.path(), {makeCard("UN", "X", 1, 1, 1), makeCard("DEUX", "X", 1, 2, 2)});
    writeBytes(folder.file("F2.txt"), "note de la fiche 2");
    writeBytes(folder.file("F3.txt"), "ancienne note");
    writeBytes(folder.file("F.txt"), "modele");
    auto db = open();
    QSignalSpy stored(db.get(), &tb::Database::cardStored), counted(db.get(), &tb::Database::countChanged);
    const std::array<QString, 20> typed{"5 120                  45", "Madame", QStringLiteral("weiß-lefèvre µ"),
                                        "Anne-Sophie", QString(45, u'r'), "170001", "LA ROCHELLE"};
    const auto n = db->createCard(CardRecord::fromTexts(typed));
    ASSERT_TRUE(n);
    EXPECT_EQ(*n, 3);
    EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "3\r\n");
    const QByteArray bytes = readBytes(folder.file("lesfiches.dat"));
    ASSERT_EQ(bytes.size(), 3 * 630);
    // Capitals only where the code page has them: the surname keeps its length and gains no "?".
    EXPECT_EQ(bytes.mid(2 * 630, 120), "5 120                  45     Madame         WEI\xDF-LEF\xC8VRE \xB5 Anne-Sophie    "
                                           + QByteArray(40, 'r') + "17000");
    EXPECT_EQ(readBytes(folder.file("F2.txt")), "note de la fiche 2");
    EXPECT_EQ(readBytes(folder.file("F3.txt")), "modele");
    EXPECT_EQ(readBytes(folder.file("F3.xls")), readBytes(folder.file("F.xls")));
    for (const char* name : {"R3.txt", "I3.txt", "M3.txt"})
        EXPECT_TRUE(QFile::exists(folder.file(name))) << name;
    EXPECT_EQ(stored.size(), 1);
    EXPECT_EQ(counted.size(), 1);
    EXPECT_EQ(db->pins().cardsAt(120, 45), std::vector<long long>{3});
}

TEST_F(DatabaseTest, StoresWriteOnlyChangesAndOnlyAValidationPutsTheSurnameInCapitals)
{
    writeCards(folder.path(), {makeCard("UN", "X", 1, 1, 1), makeCard("DEUX", "X", 2, 50, 50)});
    auto db = open();
    QSignalSpy stored(db.get(), &tb::Database::cardStored);
    const QDateTime before = QFileInfo(folder.file("lesfiches.dat")).lastModified();
    ASSERT_TRUE(db->storeCard(2, *db->card(2)));
    EXPECT_EQ(stored.size(), 0);
    EXPECT_EQ(QFileInfo(folder.file("lesfiches.dat")).lastModified(), before);
    // A change is stored, and its pin follows.
    ASSERT_TRUE(db->storeCard(2, makeCard("DEUX", "Y", 0, 50, 50)));
    EXPECT_EQ(stored.size(), 1);
    EXPECT_TRUE(db->pins().cardsAt(50, 50).empty());
    EXPECT_FALSE(db->storeCard(9, CardRecord()));

    // A store of any other kind (a move, a journal, an archiving) keeps the surname as typed.
    const auto surname = [&] { return db->card(1)->field(tb::kFieldSurname).trimmed(); };
    const CardRecord typed = makeCard(QStringLiteral("dupont-élise"), QStringLiteral("Jean"), 3, 10, 10);
    ASSERT_TRUE(db->storeCard(1, typed));
    ASSERT_TRUE(db->setArchived(1, true));
    EXPECT_EQ(surname(), QStringLiteral("dupont-élise"));
    const tb::Result<CardRecord> validated = db->validateCard(1, typed);
    ASSERT_TRUE(validated);
    EXPECT_EQ(surname(), QStringLiteral("DUPONT-ÉLISE"));
    EXPECT_EQ(db->card(1)->toBytes(), validated->toBytes());

    // Records changed by another program: the pins follow the file (later than the file system's clock tick).
    QThread::msleep(50);
    writeCards(folder.path(), {makeCard("UN", "X", 4, 200, 200), makeCard("DEUX", "X", 2, 50, 50)});
    EXPECT_EQ(db->pins().cardsAt(200, 200), std::vector<long long>{1});
}

TEST_F(DatabaseTest, SideFilesAreFoundWhateverTheCaseAndAScanKeepsItsExtension)
{
    auto db = open();
    writeBytes(folder.file("photo6.JPG"), "x");
    EXPECT_EQ(db->findSideFile(tb::SideFile::Photo, 6), folder.file("photo6.JPG"));
    EXPECT_EQ(db->findSideFile(tb::SideFile::Photo, 7), folder.file("photo7.jpg"));
    // A file added in the same tick of the file system's clock as the
    // listing (the folder's time unchanged) is found all the same.
    struct stat listed{};
    ASSERT_EQ(::stat(QFile::encodeName(folder.path()).constData(), &listed), 0);
    writeBytes(folder.file("PHOTO7.JPG"), "x");
    const timespec times[2] = {{0, UTIME_OMIT}, listed.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder.path()).constData(), times, 0), 0);
    EXPECT_EQ(db->findSideFile(tb::SideFile::Photo, 7), folder.file("PHOTO7.JPG"));
    EXPECT_EQ(db->attachmentPath("Dscan1", "/tmp/scan.TIFF"), folder.file("Dscan1.tif"));
}

TEST(PathsTest, OddNamesOfDatabasesAndProgramFoldersWorkAndWriteNowhereElse)
{
    QTemporaryDir root;
    const QString beside = root.path() + QStringLiteral("/voisin.txt");
    writeBytes(beside, "rien");
    const QStringList programNames = {"Programme", "-Mes « programmes », l'été \"2026\" Ω 客"};
    const QStringList names = {"Mes clients", "L'été \"pro\", 2026", "-base", "Ωmega 客户 ☎", QString(127, u'é') + u'a',
                               " Espace devant", "Espace derrière "};
    for (const QString& programName : programNames) {
        const QString program = root.path() + u'/' + programName + u'/';
        ASSERT_TRUE(QDir().mkpath(program));
        for (const QFileInfo& fi : QDir(dataDir()).entryInfoList(QDir::Files))
            QFile::copy(fi.absoluteFilePath(), program + fi.fileName());
        const QStringList outside = everything(root.path(), program);
        for (const QString& name : names) {
            SCOPED_TRACE((programName + u'/' + name).toStdString());
            {
                auto db = tb::Database::create(program, name);
                ASSERT_TRUE(db) << db.error().message().toStdString();
                tb::Database& d = *db.value();
                EXPECT_EQ(d.folder(), program + name + u'/');
                EXPECT_EQ(tb::readPathValue(program + QStringLiteral("dossier.txt")), name);
                EXPECT_EQ(d.mapPath(), program + QStringLiteral("frc.gif"));
                ASSERT_TRUE(d.createCard(makeCard("DUPONT", "Jean", 3, 10, 20)));
                EXPECT_TRUE(tb::saveNote(d.findSideFile(tb::SideFile::Note, 1), "Note"));
                // A document chosen under an odd name is copied into the folder under the card's own name.
                EXPECT_EQ(d.attachmentPath("photo1", root.path() + u'/' + name.left(20) + QStringLiteral(".JPEG")),
                          d.folder() + QStringLiteral("photo1.jpg"));
            }
            auto again = tb::Database::open(program + name + u'/');
            ASSERT_TRUE(again) << again.error().message().toStdString();
            EXPECT_EQ((*again)->count(), 1);
            EXPECT_EQ(tb::loadNote((*again)->findSideFile(tb::SideFile::Note, 1)), "Note");
        }
        EXPECT_EQ(everything(root.path(), program), outside);
    }

    // Refused with the usual message, nothing made.
    const QString program = root.path() + u'/' + programNames[1] + u'/';
    const QStringList before = everything(root.path(), QStringLiteral("\x01"));
    for (const QString& bad : QStringList{QString(128, u'é'), "..", "a/b", "   ", "x\ty"}) {
        const auto refused = tb::Database::create(program, bad);
        ASSERT_FALSE(refused) << bad.toStdString();
        EXPECT_EQ(refused.error().message(), "Erreur n° 52 : nom de fichier incorrect");
    }
    EXPECT_EQ(everything(root.path(), QStringLiteral("\x01")), before);
}

TEST_F(DatabaseTest, AnotherProgramIsRefusedUntilTheHolderQuitsOrDies)
{
    writeCards(folder.path(), {makeCard("DUPONT", "Jean", 3, 10, 20)});
    {
        OtherProgram other(folder.path());
        ASSERT_TRUE(other.holding());
        writeBytes(folder.file("NBFiches.dat"), "x");  // a count an opening for writing would correct
        const auto refused = tb::Database::open(folder.path());
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().message(), kAlreadyOpen);
        EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "x");
        // Reading needs no lock and repairs nothing.
        auto reader = tb::Database::open(folder.path(), tb::Database::Access::ReadOnly);
        ASSERT_TRUE(reader);
        EXPECT_EQ((*reader)->count(), 1);
        EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "x");

        // A program killed with the database open leaves its lock: the next one takes it over.
        other.crash();
        EXPECT_TRUE(QFileInfo::exists(folder.file(".tabulon.lock")));
        auto db = tb::Database::open(folder.path());
        ASSERT_TRUE(db) << db.error().message().toStdString();
        EXPECT_EQ(readBytes(folder.file("NBFiches.dat")), "1\r\n");
        // ... and holds it in turn.
        OtherProgram second(folder.path());
        EXPECT_FALSE(second.holding());
    }
    // Every database of this program closed: the lock is gone, another program may open it.
    EXPECT_FALSE(QFileInfo::exists(folder.file(".tabulon.lock")));
    OtherProgram third(folder.path());
    EXPECT_TRUE(third.holding());
    third.quit();
    EXPECT_TRUE(tb::Database::open(folder.path()));
}

TEST_F(DatabaseTest, OneProgramMayOpenItsDatabaseAgainAndAnyCopyAndTakesOverAnEmptyGarbledOrDeadLock)
{
    auto first = tb::Database::open(folder.path());
    ASSERT_TRUE(first);
    auto again = tb::Database::open(folder.path() + "../" + QDir(folder.path()).dirName() + "/");
    ASSERT_TRUE(again);
    first = tb::Error{};
    EXPECT_TRUE(QFileInfo::exists(folder.file(".tabulon.lock")));  // still held by the second
    EXPECT_FALSE(OtherProgram(folder.path()).holding());

    // A copy of the folder made while it was open carries this program's lock.
    const QString copy = program.path() + "Copie/";
    QDir().mkdir(copy);
    for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
        QFile::copy(folder.file(name), copy + name);
    ASSERT_TRUE(QFileInfo::exists(copy + ".tabulon.lock"));
    EXPECT_TRUE(tb::Database::open(copy));
    first = tb::Error{};
    again = tb::Error{};

    // An empty, garbled or dead lock is taken over, a live one is not. Killed between making the lock and writing it; a file no Tabulon wrote;
    // a pipe. (A holder that died is taken over above.)
    for (const QByteArray& left : {QByteArray(), QByteArray("\x01\x02zz"), QByteArray("fifo")}) {
        if (left == "fifo")
            ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file(".tabulon.lock")).constData(), 0644), 0);
        else
            writeBytes(folder.file(".tabulon.lock"), left);
        {
            auto db = tb::Database::open(folder.path());
            ASSERT_TRUE(db) << left.toHex().constData();
            EXPECT_TRUE(readBytes(folder.file(".tabulon.lock")).startsWith(QByteArray::number(::getpid()) + '\n'));
            EXPECT_FALSE(OtherProgram(folder.path()).holding());
        }
        EXPECT_FALSE(QFileInfo::exists(folder.file(".tabulon.lock")));
    }
    // The lock is written whole under another name first: nothing else stays.
    OtherProgram other(folder.path());
    ASSERT_TRUE(other.holding());
    EXPECT_EQ(QDir(folder.path()).entryList({".tabulon.lock*"}, QDir::Files | QDir::Hidden | QDir::System),
              QStringList{".tabulon.lock"});
    EXPECT_FALSE(tb::Database::open(folder.path()));
}

// Commands on a selection of cards: archive, one message in blind copy, export.
TEST(SelectionCommands, ArchiveMailAndExportTheSelectedCardsOnly)
{
    TempProgramFolder program;
    TempDatabase folder(program.path());
    std::vector<CardRecord> cards;
    for (int k = 1; k <= 5; ++k) {
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(k), "", k == 4 ? 0 : 2, k, k));
        if (k != 3)
            cards.back().field(tb::kFieldEmail) = tb::padField(k == 5 ? "Client1@exemple.fr" : QStringLiteral("client%1@exemple.fr").arg(k), 40);
    }
    writeCards(folder.path(), cards);
    auto db = std::move(tb::Database::open(folder.path())).value();

    // The same address once (any case), the card without one said.
    const tb::Result<tb::BccMessage> mail = tb::bccMessage(*db, {5, 1, 3, 2});
    ASSERT_TRUE(mail);
    EXPECT_EQ(QUrlQuery(mail->url).queryItemValue("bcc"), "Client1@exemple.fr,client2@exemple.fr");
    EXPECT_TRUE(mail->url.path().isEmpty());
    EXPECT_EQ(mail->report(), " 1 fiche(s) sans adresse électronique, laissée(s) de côté : n° 3.");

    // Only the selection is exported, archived cards when asked.
    const QString csv = program.file("choix.csv");
    EXPECT_EQ(*tb::writeCsvFile(*db, csv, tb::CardChoice(false, {2, 4, 5})), 2);
    EXPECT_EQ(*tb::writeCsvFile(*db, csv, tb::CardChoice(true, {2, 4, 5})), 3);
    EXPECT_FALSE(QString::fromUtf8(readBytes(csv)).contains("NOM1"));

    // Archived once for all; a card archived already is counted apart.
    tb::ArchiveOutcome outcome = tb::archiveCards(*db, {1, 4, 5});
    EXPECT_EQ(outcome.archived, 2);
    EXPECT_EQ(outcome.report(), " 2 fiche(s) archivée(s). 1 l'étai(en)t déjà.");
    EXPECT_FALSE(db->card(5)->isActive());
    EXPECT_EQ(db->card(5)->field(tb::kFieldPosition).mid(1), cards[4].field(tb::kFieldPosition).mid(1));
    // A write that fails stops and is said, the cards before it archived.
    EXPECT_EQ(codeUnderFileSizeLimit(10, [&] {
                  const tb::ArchiveOutcome failed = tb::archiveCards(*db, {2, 3});
                  return failed.error && failed.archived == 0 && failed.report().contains("s'est arrêté") ? 0 : 1;
              }),
              0);
}

// Demonstration cards: real communes, pins in their department on the default
// map, plausible debts and phones, the same cards for the same seed.

class DemoCardsTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};
};

TEST_F(DemoCardsTest, CardsArePlausibleAndPlacedInTheirDepartment)
{
    const long long n = 3000;
    ASSERT_TRUE(tb::fillDemoCards(db.path(), program.path(), n, 42).ok());
    const CardStore store(db.path());
    EXPECT_EQ(store.readCount().value, n);
    EXPECT_EQ(store.recordsInFile(), n);

    QSet<QString> directory;
    for (const QString& file : tb::postalFiles())
        for (const QString& line : tb::fromCp1252(readBytes(program.file(file))).split(u'\n'))
            directory.insert(line.trimmed());
    const QRegularExpression phone("^(0\\d( \\d\\d){4})?$");
    long long debts = 0;
    QSet<QString> surnames;
    std::array<int, 8> markers{};
    for (long long k = 1; k <= n; ++k) {
        const CardRecord c = store.read(k).value();
        const int marker = c.field(1)[0].digitValue();
        ASSERT_TRUE(marker >= 0 && marker <= 7) << k;
        ++markers[size_t(marker)];
        surnames.insert(c.field(3).trimmed());
        EXPECT_EQ(c.field(3), c.field(3).toUpper());
        EXPECT_FALSE(c.field(4).trimmed().isEmpty());
        const QString code = c.field(6);
        EXPECT_TRUE(directory.contains(c.field(7).trimmed() + u' ' + code))
            << c.field(7).toStdString() << code.toStdString();
        const tb::DepartmentSpot* spot = tb::departmentSpot(code.left(2).toInt());
        ASSERT_NE(spot, nullptr);
        EXPECT_LE(std::hypot(c.x() - spot->x, c.y() - spot->y), spot->radius + 1.0) << k;
        EXPECT_TRUE(phone.match(c.field(8).trimmed()).hasMatch()) << c.field(8).toStdString();
        EXPECT_TRUE(phone.match(c.field(9).trimmed()).hasMatch());
        const QString mail = c.field(10).trimmed();
        EXPECT_TRUE(mail.isEmpty() || (mail.contains(u'@') && !mail.contains(u' ')));
        if (!c.field(15).trimmed().isEmpty()) {
            ++debts;
            const auto again = tb::debtCalculation(c.field(15), c.field(16), c.field(17), c.field(19));
            for (size_t i = 0; i < again.size(); ++i)
                EXPECT_EQ(c.field(tb::kDebtFields[i]).trimmed(), again[i].trimmed());
            EXPECT_GE(tb::numericValue(c.field(20)), 0);
        }
    }
    EXPECT_GT(markers[0], n * 2 / 100);  // archived
    EXPECT_LT(markers[0], n * 8 / 100);
    EXPECT_GT(debts, n * 6 / 100);
    EXPECT_LT(debts, n * 14 / 100);
    EXPECT_GT(surnames.size(), 100);
    for (int m = 1; m <= 7; ++m)
        EXPECT_GT(markers[size_t(m)], n / 10) << "marker " << m;
}

TEST_F(DemoCardsTest, TheSeedDecidesTheCardsAndAFilledDatabaseIsRefused)
{
    TempDatabase same(program.path(), "Same");
    TempDatabase other(program.path(), "Other");
    ASSERT_TRUE(tb::fillDemoCards(db.path(), program.path(), 20000, 5).ok());  // more than one block
    ASSERT_TRUE(tb::fillDemoCards(same.path(), program.path(), 20000, 5).ok());
    ASSERT_TRUE(tb::fillDemoCards(other.path(), program.path(), 20000, 6).ok());
    EXPECT_EQ(readBytes(db.file("lesfiches.dat")), readBytes(same.file("lesfiches.dat")));
    EXPECT_NE(readBytes(db.file("lesfiches.dat")), readBytes(other.file("lesfiches.dat")));

    EXPECT_FALSE(tb::fillDemoCards(db.path(), program.path(), 10, 5).ok());
    EXPECT_EQ(CardStore(db.path()).readCount().value, 20000);

    TempProgramFolder empty;
    for (const QString& file : tb::postalFiles())
        QFile::remove(empty.file(file));
    TempDatabase fresh(empty.path());
    EXPECT_FALSE(tb::fillDemoCards(fresh.path(), empty.path(), 10, 5).ok());
}

// What a database keeps of its CardDAV address book: read back as written,
// and a damaged file refused with its name, never guessed at; its settings; a conflict merged.
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

    // Damaged: an unknown line, a number that is none, a card twice, a fetched file cut short.
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

}  // namespace
