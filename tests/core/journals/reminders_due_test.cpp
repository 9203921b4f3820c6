// Reminders from the memento files and the birth dates; their settings file.
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/journals/reminders.h"
#include "support/fixtures.h"
#include "support/write_failures.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

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
