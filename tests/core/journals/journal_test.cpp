// The journals of a card: entry lines and their checks, dates, the journal file, the card's debt fields kept in
// step with it, the debtors; the reminders from the memento files and birth dates, and their settings file.
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/journals/debtors.h"
#include "core/journals/journal.h"
#include "core/journals/journal_dates.h"
#include "core/journals/journal_entries.h"
#include "core/journals/reminders.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QString kSeeField = QStringLiteral("Erreur de saisie ! voir ");

TEST(JournalDates, ShapeCalendarAndTwoDigitYears)
{
    EXPECT_TRUE(tb::hasJournalDateShape("99/99/99"));
    for (const char* bad : {"5/12/26", "05/12/2026", "05-12-26", ""})
        EXPECT_FALSE(tb::hasJournalDateShape(bad)) << bad;
    // The window runs from 80 years back to 19 ahead of the reference year.
    for (const auto& [year, reference, full] : {std::tuple{26, 2026, 2026}, {45, 2026, 2045}, {46, 2026, 1946},
                                                {99, 2026, 1999}, {5, 2090, 2105}, {10, 2090, 2010}})
        EXPECT_EQ(tb::fullYear(year, reference), full) << year << " in " << reference;
    EXPECT_EQ(tb::journalDate("29/02/24", 2026), QDate(2024, 2, 29));
    for (const char* bad : {"29/02/25", "31/04/26", "00/01/26", "1 /01/26"})
        EXPECT_FALSE(tb::journalDate(bad, 2026)) << bad;
    EXPECT_EQ(tb::journalDateText(QDate(2026, 12, 5)), "05/12/26");
}

TEST(JournalEntries, PaymentMementoAndInterestLinesAndTheirChecksInOrder)
{
    const auto e = tb::paymentEntry({"05/12/26", "M. Durand", "chèque", "150"}, 2026);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->amount, "150.00");
    EXPECT_EQ(e->line, "150.00------------>05/12/26  M. Durand  chèque");
    for (const auto& [typed, amount] : {std::pair{"12,50", "12.50"}, {",5", ".50"}, {"-20", "-20.00"}})
        EXPECT_EQ(tb::paymentEntry({"05/12/26", "a", "b", typed}, 2026)->amount, amount);
    const auto refused = [](const tb::Payment& p) { return tb::paymentEntry(p, 2026).error().message(); };
    EXPECT_EQ(refused({"31/02/26", "", "", ""}), kSeeField + tb::collections::kDateCaption);
    EXPECT_EQ(refused({"05/12/26", "", "", ""}), kSeeField + "Partie versante");
    EXPECT_EQ(refused({"05/12/26", "a", "", ""}), kSeeField + "Moyen de réglement");
    for (const char* amount : {"0,00", "abc", ","})
        EXPECT_EQ(refused({"05/12/26", "a", "b", amount}), kSeeField + "Montant du versement") << amount;

    EXPECT_EQ(tb::mementoEntry("05/12/26", "Appel, rappeler lundi", 2026).value(), "05/12/26--->Appel, rappeler lundi");
    EXPECT_EQ(tb::mementoEntry("05/12/26", "", 2026).error().message(), kSeeField + "Annotations");
    EXPECT_EQ(tb::mementoEntry("32/12/26", "x", 2026).error().message(), kSeeField + tb::memento::kDateCaption);

    const auto entry = [](const tb::InterestPeriod& p) { return tb::interestEntry(p, 2026); };
    auto i = entry({"1000", "01/01/26", "01/04/26", "5"});
    ASSERT_TRUE(i);
    EXPECT_EQ(i->days, 90);
    EXPECT_EQ(i->line, "12.50------------>01/01/26-01/04/26***1000 euros*** 90 jours***5%");
    EXPECT_EQ(entry({"1000", "01/01/25", "01/01/26", "10"})->interest, "101.39");
    // An end before the start counts back.
    i = entry({"720", "11/01/26", "01/01/26", "4,5"});
    EXPECT_EQ(i->days, -10);
    EXPECT_EQ(i->line, "-.90------------>11/01/26-01/01/26***720 euros*** -10 jours***4,5%");

    EXPECT_EQ(entry({"abc", "", "", ""}).error().message(), kSeeField + "Montant de référence");
    EXPECT_EQ(entry({"1", "99/99/99", "01/01/26", "5"}).error().message(), kSeeField + tb::interest::kStartCaption);
    EXPECT_EQ(entry({"1", "01/01/26", "01-02-26", "5"}).error().message(), kSeeField + tb::interest::kEndCaption);
    for (const char* rate : {"0", "100.5"})
        EXPECT_EQ(entry({"1", "01/01/26", "01/02/26", rate}).error().message(), kSeeField + "Taux") << rate;
}

TEST(JournalFile, EntriesWithoutEmptyLinesAndLeadingAmounts)
{
    const QStringList entries = tb::journalEntries("12.50------------>a, b\r\n\r\n\n7.25------------>x\nM\xe9mo, 3\r\n");
    EXPECT_EQ(entries, (QStringList{"12.50------------>a, b", "7.25------------>x", "Mémo, 3"}));
    // Written back as the journal files below show; only the first 12 characters count.
    EXPECT_DOUBLE_EQ(tb::journalTotal({"1234567890.75------------>", "-5.00----", "abc"}), 1234567890.7 - 5);
}

struct JournalTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    std::unique_ptr<tb::Database> db;

    void SetUp() override
    {
        const CardRecord durand = makeCard("DURAND", "Marie", 3, 10, 10);
        writeCards(folder.path(), {durand, durand, withFields(durand, {{15, "1000"}})});
        db = std::move(tb::Database::open(folder.path())).value();
    }
    QString field(int k) const { return db->card(3)->field(k).trimmed(); }
    tb::Journal open(tb::JournalKind kind)
    {
        auto j = tb::Journal::open(*db, 3, kind);
        EXPECT_TRUE(j);
        return std::move(j).value();
    }
};

TEST_F(JournalTest, PaymentsWriteTheJournalAndTheCardsDebtFields)
{
    tb::Journal j = open(tb::JournalKind::Collections);
    EXPECT_TRUE(j.entries().isEmpty());
    QSignalSpy stored(db.get(), &tb::Database::cardStored);
    ASSERT_TRUE(j.add(tb::paymentEntry({"05/12/26", "a", "chèque", "150"}, 2026)->line));
    ASSERT_TRUE(j.add(tb::paymentEntry({"06/12/26", "b", "espèces", "250"}, 2026)->line));
    EXPECT_EQ(stored.count(), 2);
    EXPECT_EQ(readBytes(folder.file("R3.txt")),
              "150.00------------>05/12/26  a  ch\xe8que\r\n250.00------------>06/12/26  b  esp\xe8" "ces\r\n");
    for (const auto& [k, value] : {std::pair{18, "1000.00"}, {19, "400.00"}, {20, "600.00"}, {15, "1000.00"}, {16, ".00"}})
        EXPECT_EQ(field(k), value) << k;

    // Deleting back to nothing: the remaining due is the whole amount again.
    ASSERT_TRUE(j.remove(0));
    ASSERT_TRUE(j.remove(0));
    EXPECT_EQ(readBytes(folder.file("R3.txt")), "");
    EXPECT_EQ(field(19), ".00");
    EXPECT_EQ(field(20), "1000.00");
}

TEST_F(JournalTest, InterestTotalGoesIntoTheTotalOwedAndIsPrinted)
{
    writeBytes(folder.file("I3.txt"), "12.50------------>01/01/26-01/04/26***1000 euros*** 90 jours***4,5%\n\n");
    tb::Journal j = open(tb::JournalKind::Interest);
    EXPECT_EQ(j.entries().size(), 1);
    ASSERT_TRUE(j.add("7.25------------>x"));
    for (const auto& [k, value] : {std::pair{16, "19.75"}, {18, "1019.75"}, {20, "1019.75"}})
        EXPECT_EQ(field(k), value) << k;
    // Rewritten whole: the empty line gone, CR LF ends.
    EXPECT_EQ(readBytes(folder.file("I3.txt")),
              "12.50------------>01/01/26-01/04/26***1000 euros*** 90 jours***4,5%\r\n7.25------------>x\r\n");
    EXPECT_EQ(tb::journalPrintLines({"1.00------------>x"}, j.card(), j.kind(), QDate(2026, 12, 5)),
              (QStringList{"05/12/2026", "DURAND Marie", "Journal des intérêts", "", "1.00------------>x", ""}));
}

TEST_F(JournalTest, MementoLeavesTheCardAloneAndClosingStoresTheCardHeld)
{
    tb::Journal j = open(tb::JournalKind::Memento);
    const QByteArray records = readBytes(folder.file("lesfiches.dat"));
    ASSERT_TRUE(j.add("05/12/26--->Appel \u2192 \u20ac"));  // the arrow has no byte, € has
    EXPECT_EQ(j.entries().last(), "05/12/26--->Appel  \u20ac");
    ASSERT_TRUE(j.remove(0));
    ASSERT_TRUE(j.add("05/12/26--->Appel"));
    ASSERT_TRUE(j.remove(7));  // no selection: nothing removed, the file still written
    EXPECT_EQ(readBytes(folder.file("M3.txt")), "05/12/26--->Appel\r\n");
    EXPECT_EQ(readBytes(folder.file("lesfiches.dat")), records);

    // The card window's unsaved typing is what the journals store.
    auto held = tb::Journal::open(*db, 3, tb::JournalKind::Memento, withFields(*db->card(3), {{10, "typed"}}));
    ASSERT_TRUE(held);
    EXPECT_EQ(held->entries().size(), 1);
    ASSERT_TRUE(held->storeCard());
    EXPECT_EQ(field(10), "typed");
}

TEST_F(JournalTest, AFailedWriteLeavesJournalAndCardAsTheyWere)
{
    const QByteArray journal = "150.00------------>05/12/26  a  b\n\n";
    writeBytes(folder.file("R3.txt"), journal);
    const QByteArray records = readBytes(folder.file("lesfiches.dat"));
    const QString line = tb::paymentEntry({"06/12/26", "b", "c", "250"}, 2026)->line;
    // The journal is written but card 3 (from byte 1260) is not: the journal goes back
    // (a journal that cannot be written at all is among the failed writes of the database).
    for (const bool existed : {true, false}) {
        if (!existed)
            QFile::remove(folder.file("R3.txt"));
        EXPECT_FALSE(underFileSizeLimit(1200, [&] {
            tb::Journal j = open(tb::JournalKind::Collections);
            const tb::Status s = j.add(line);
            // The journal in memory stays as the files are.
            return s.ok() || j.entries().size() != (existed ? 1 : 0);
        }));
        EXPECT_EQ(readBytes(folder.file("R3.txt")), existed ? journal : QByteArray());
        EXPECT_EQ(QFile::exists(folder.file("R3.txt")), existed);
        EXPECT_EQ(readBytes(folder.file("lesfiches.dat")), records);
    }
}


// The debtors and the last payment read from each card's collections journal.

CardRecord owing(const QString& surname, int marker, const QString& remaining)
{
    return withFields(makeCard(surname, QStringLiteral("Jean"), marker, 10, 20, QStringLiteral("17000"),
                               QStringLiteral("LA ROCHELLE")), {{20, remaining}});
}

TEST(Debtors, ActiveCardsOwingLargestFirstWithTotalAndLastPaymentByDate)
{
    TempProgramFolder program;
    TempDatabase base(program.path());
    writeCards(base.path(), {owing("DUPONT", 1, "100.00"), owing("MARTIN", 0, "900.00"),
                             owing("BERNARD", 3, "250.50"), owing("PETIT", 2, ".00"), owing("ROBERT", 1, "-5.00"),
                             owing("DURAND", 7, "100"), owing("LEROY", 1, "0.004"), owing("SIMON", 1, "")});
    // The latest date wins, not the last line; a line whose date is no date only counts when there is nothing better.
    writeBytes(base.file("R1.txt"), "50.00------------>05/01/26  Jean  chèque\r\n"
                                    "25.00------------>03/02/26  Jean  espèces\r\n"
                                    "10.00------------>28/12/25  Jean  chèque\r\n");
    writeBytes(base.file("R6.TXT"), "\r\n40.00------------>99/99/99  x  y\r\n");
    writeBytes(base.file("R2.txt"), "900.00------------>01/01/26  x  y\r\n");

    auto db = tb::Database::open(base.path(), tb::Database::Access::ReadOnly);
    ASSERT_TRUE(db);
    const tb::Result<tb::DebtorList> list = tb::debtorList(*db.value(), 2026);
    ASSERT_TRUE(list) << list.error().message().toStdString();
    ASSERT_EQ(list->debtors.size(), 3u);
    // Equal amounts keep the order of the cards.
    EXPECT_EQ((std::vector<long long>{list->debtors[0].number, list->debtors[1].number, list->debtors[2].number}),
              (std::vector<long long>{3, 1, 6}));
    EXPECT_DOUBLE_EQ(list->total, 450.50);
    EXPECT_TRUE(list->debtors[0].line.startsWith("BERNARD"));
    EXPECT_FALSE(list->debtors[0].last);
    ASSERT_TRUE(list->debtors[2].last);
    EXPECT_EQ(list->debtors[2].last->date, "99/99/99");
    EXPECT_EQ(tb::debtorText(list->debtors[1]), "      100.00  03/02/2026      25.00  DUPONT          Jean            "
                                                "17000 LA ROCHELLE");
    EXPECT_EQ(tb::debtorText(list->debtors[0]).simplified(), "250.50 aucun versement BERNARD Jean 17000 LA ROCHELLE");
    EXPECT_EQ(tb::debtorHeading().indexOf("Dernier"), tb::debtorText(list->debtors[1]).indexOf("03/02"));
    EXPECT_EQ(tb::debtorTotalText(*list), "Total dû : 450.50 (3 débiteur(s))");

    // A journal that cannot be read is said, never taken for "no payment".
    QFile::remove(base.file("R1.txt"));
    ASSERT_TRUE(QDir().mkdir(base.file("R1.txt")));
    EXPECT_FALSE(tb::debtorList(*db.value(), 2026));
}

// Reminders from the memento files and the birth dates; their settings file.
// "dd/mm/yyyy card text" per reminder, as the command line prints them.
QStringList shown(const std::vector<tb::Reminder>& reminders)
{
    QStringList out;
    for (const tb::Reminder& r : reminders)
        out << r.date.toString(QStringLiteral("dd/MM/yyyy")) + u' ' + QString::number(r.card) + u' ' + r.text;
    return out;
}

CardRecord cardBornOn(const char* surname, int marker, const QString& birth)
{
    return withFields(makeCard(QString::fromLatin1(surname), QStringLiteral("Jean"), marker, 10, 10), {{12, birth}});
}

}  // namespace

TEST(RemindersDue, TodaySevenDaysAheadDaysBackLeapDayAndTwoDigitYears)
{
    TempProgramFolder program;
    TempDatabase db(program.path());
    // Field 12 is "Date de naissance" in the captions of a new database.
    writeCards(db.path(), {cardBornOn("DURAND", 3, "29/02/1980"), cardBornOn("ARCHIVE", 0, "08/12/70"),
                           cardBornOn("BERNARD", 1, "10/12/85"), cardBornOn("ZOLA", 2, "1.3.2001"),
                           cardBornOn("SANSAN", 4, "09/12"), cardBornOn("FAUX", 5, "31/04/80"),
                           cardBornOn("FUTUR", 6, "09/12/2030")});
    // Memento files are in the code page.
    const QByteArray memento1 = tb::toCp1252("08/12/26--->Appeler, puis écrire\r\n15/12/26--->Sept jours\r\n16/12/26--->Huit jours\r\n"
                                "08/11/26--->Trente jours avant\r\n07/11/26--->Trente et un jours\r\nune note sans date\r\n"
                                "31/02/26--->pas un jour\r\n\r\n08/12/26--->Deuxième du jour\r\n");
    writeBytes(db.file("M1.txt"), memento1);
    writeBytes(db.file("M2.txt"), "08/12/26--->fiche archivée\r\n");
    // Another system's spelling of the name; the lines as the memento writes them.
    writeBytes(db.file("m3.TXT"), tb::toCp1252("09/12/26--->Relance\r\n02/01/27--->Nouvel an\r\n"));
    writeBytes(db.file("M9.txt"), "08/12/26--->au-delà du nombre de fiches\r\n");
    const CardStore store(db.path());
    const QStringList captions = store.readCaptions();

    struct Case {
        const char* what;
        QDate today;
        tb::ReminderSettings settings;
        QStringList expected;
    };
    const Case cases[] = {
        {"today and seven days ahead by default", {2026, 12, 8}, {},
         {"08/12/2026 1 Appeler, puis écrire", "08/12/2026 1 Deuxième du jour", "09/12/2026 3 Relance",
          "09/12/2026 5 Anniversaire", "10/12/2026 3 Anniversaire", "15/12/2026 1 Sept jours"}},
        {"thirty days back, not thirty-one", {2026, 12, 8}, {0, 30},
         {"08/11/2026 1 Trente jours avant", "08/12/2026 1 Appeler, puis écrire", "08/12/2026 1 Deuxième du jour"}},
        {"across the new year", {2026, 12, 30}, {7, 0}, {"02/01/2027 3 Nouvel an"}},
        {"29 February on the 28th in a common year", {2027, 2, 28}, {0, 0}, {"28/02/2027 1 Anniversaire"}},
        {"and on the 29th in a leap year", {2028, 2, 28}, {1, 0}, {"29/02/2028 1 Anniversaire"}},
        {"one-digit day and month", {2027, 3, 1}, {0, 1}, {"28/02/2027 1 Anniversaire", "01/03/2027 4 Anniversaire"}},
        {"no birthday before the birth", {2029, 12, 9}, {0, 0}, {"09/12/2029 5 Anniversaire"}},
    };
    for (const Case& c : cases) {
        const auto found = tb::gatherReminders(store, 7, captions, c.today, c.settings);
        ASSERT_TRUE(found) << c.what;
        EXPECT_EQ(shown(*found), c.expected) << c.what;
    }
    EXPECT_EQ(tb::gatherReminders(store, 7, captions, {2026, 12, 8}, {})->front().name, "DURAND Jean");

    // Without a birth-date caption there are no birthdays; a cancelled gathering gives nothing.
    QStringList renamed = captions;
    renamed[1] = QStringLiteral("Loisirs");
    EXPECT_EQ(shown(*tb::gatherReminders(store, 7, renamed, {2026, 12, 9}, {0, 0})),
              QStringList{"09/12/2026 3 Relance"});
    const std::atomic<bool> cancelled{true};
    EXPECT_TRUE(tb::gatherReminders(store, 7, captions, {2026, 12, 8}, {}, &cancelled)->empty());
    EXPECT_EQ(readBytes(db.file("M1.txt")), memento1);

    // A memento that cannot be read has a line of its own; the others still come.
    for (const QString& path : {program.path(), db.path()})
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOther | QFile::ExeOther);
    for (const QString& name : QDir(db.path()).entryList(QDir::Files))
        QFile::setPermissions(db.file(name), QFile::permissions(db.file(name)) | QFile::ReadOther);
    QFile::setPermissions(db.file("M1.txt"), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(codeWithoutRootRights([&] {
                  const auto found = tb::gatherReminders(store, 7, captions, {2026, 12, 9}, {0, 0});
                  const QStringList lines = found ? shown(*found) : QStringList();
                  return lines.size() == 3 && lines[0].startsWith("09/12/2026 1 " + tb::kUnreadMementoText)
                                 && lines[1] == "09/12/2026 3 Relance"
                             ? 0
                             : 1;
              }),
              0);
}

TEST(RemindersSettings, KeptInTheProgramFolderAndAFailedWriteSaysSo)
{
    TempProgramFolder program;
    EXPECT_EQ(tb::readReminderSettings(program.path()), (tb::ReminderSettings{7, 0}));
    ASSERT_TRUE(tb::writeReminderSettings(program.path(), {14, 30}));
    EXPECT_EQ(readBytes(program.file("rappels.txt")), "14\r\n30\r\n");
    EXPECT_EQ(tb::readReminderSettings(program.path()), (tb::ReminderSettings{14, 30}));
    // A line that is no number of days keeps its default.
    writeBytes(program.file("rappels.txt"), "-3\n400\n");
    EXPECT_EQ(tb::readReminderSettings(program.path()), (tb::ReminderSettings{7, 0}));
    writeBytes(program.file("rappels.txt"), "x\n12\n");
    EXPECT_EQ(tb::readReminderSettings(program.path()), (tb::ReminderSettings{7, 12}));

    QFile::remove(program.file("rappels.txt"));
    ASSERT_TRUE(QDir(program.path()).mkdir("rappels.txt"));
    const tb::Status s = tb::writeReminderSettings(program.path(), {3, 3});
    ASSERT_FALSE(s);
    EXPECT_TRUE(s.error().message().startsWith("Erreur n° ")) << s.error().message().toStdString();
    EXPECT_TRUE(QFileInfo(program.file("rappels.txt")).isDir());
}
