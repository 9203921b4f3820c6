// The journals of a card: entry lines and their checks, dates, the journal
// file, the card's debt fields kept in step with it, and the debtors.
#include "core/db/database.h"
#include "core/journals/debtors.h"
#include "core/journals/journal.h"
#include "core/journals/journal_dates.h"
#include "core/journals/journal_entries.h"
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
    // The latest date wins, not the last line; a line whose date is no date
    // only counts when there is nothing better.
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

}  // namespace
