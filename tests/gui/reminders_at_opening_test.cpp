// A database opened with reminders due shows them, without holding the opening up.
#include "core/base/codepage.h"
#include "core/journals/journal_dates.h"
#include "gui/journals/reminders_window.h"
#include "gui_fixture.h"

#include <QSpinBox>
#include <QTreeWidget>

using namespace testing_support;

TEST(RemindersAtOpening, ShowsTheRemindersDueOpensTheChosenCardAndFollowsTheDaysSet)
{
    GuiFixture f;
    TempDatabase db(f.program.path(), "Clients");
    const QString folder = db.path();
    CardRecord bernard = makeCard("BERNARD", "Luc", 2, 140, 140);
    const QDate today = QDate::currentDate();
    bernard.field(tb::CardField(12)) = tb::padField(today.toString("dd/MM/") + "1980", 40);  // "Date de naissance"
    writeCards(folder, {makeCard("DURAND", "Marie", 1, 100, 100), makeCard("ALBERT", "Jean", 3, 120, 120), bernard});
    writeBytes(folder + "M2.txt", tb::toCp1252(tb::journalDateText(today) + "--->Rappeler pour le devis\r\n"));
    writeBytes(folder + "M1.txt", tb::toCp1252(tb::journalDateText(today.addDays(-30)) + "--->Visite faite\r\n"));
    writeBytes(f.program.file("dossier.txt"), "Clients\r\n");
    f.openDatabase(folder);
    FRappels* w = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (w = f.window<FRappels>()) && w->isVisible(); }, 20000));
    auto* tree = child<QTreeWidget>(w, "List1");
    const auto rowOf = [tree](int row) {
        const QTreeWidgetItem* item = tree->topLevelItem(row);
        return item ? QStringList{item->text(0), item->text(1), item->text(2)} : QStringList{};
    };
    const QString day = today.toString("dd/MM/yyyy");
    ASSERT_EQ(tree->topLevelItemCount(), 2) << rowOf(0).join(" | ").toStdString();
    EXPECT_EQ(rowOf(0), (QStringList{day, "ALBERT Jean (n° 2)", "Rappeler pour le devis"}));
    EXPECT_EQ(rowOf(1), (QStringList{day, "BERNARD Luc (n° 3)", "Anniversaire"}));

    // "Ouvrir la fiche": the main window opens that card.
    tree->setCurrentItem(tree->topLevelItem(1));
    click(child<QPushButton>(w, "Command1"));
    auto* card = f.shown<FFrance4>();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(labelText(card, "Label2"), "3");
    card->hide();

    // Thirty days back and none ahead: kept in "rappels.txt", gathered again.
    child<QSpinBox>(w, "Text1")->setValue(0);
    child<QSpinBox>(w, "Text2")->setValue(30);
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(readBytes(f.program.file("rappels.txt")), "0\r\n30\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->topLevelItemCount() == 3; }, 20000));
    EXPECT_EQ(rowOf(0), (QStringList{today.addDays(-30).toString("dd/MM/yyyy"), "DURAND Marie (n° 1)", "Visite faite"}));
}
