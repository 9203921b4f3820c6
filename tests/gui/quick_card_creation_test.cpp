// A new card in a few keystrokes: the creation window opens on the department
// clicked, a typed postal code fills the city, and "Nouvelle fiche" (Ctrl+N)
// pins the card in the department of its postal code.
#include "core/cards/card_record.h"
#include "core/db/database.h"
#include "core/db/session.h"
#include "core/exchange/card_import.h"
#include "core/map/default_map.h"
#include "gui/app/main_window.h"
#include "gui/cards/creation_window.h"
#include "gui_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class QuickCardCreation : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance11* w = nullptr;

    void SetUp() override
    {
        f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100)});
        writeBytes(f.program.file("DeptCourant.txt"), "\"0\"\r\n");
    }
    QLineEdit* field(int i) const { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
    QString department() const { return child<QComboBox>(w, "Combo1")->currentText(); }
    QStringList communes() const
    {
        QStringList lines;
        auto* list = child<QListWidget>(w, "List1");
        for (int row = 0; row < list->count(); ++row)
            lines << list->item(row)->text();
        return lines;
    }
    void rightClick(int x, int y)
    {
        f.rightClickMap(x, y);
        w = qobject_cast<FFrance11*>(f.dialogs.lastModal());
        ASSERT_NE(w, nullptr);
    }
};

}  // namespace

TEST_F(QuickCardCreation, OpensOnTheDepartmentClickedAndATypedCodeFillsTheCity)
{
    // Lyon, then the Atlantic: the sea keeps the remembered department, and
    // neither opening changes what is remembered.
    rightClick(591, 476);
    EXPECT_EQ(department(), "69 Rhône");
    rightClick(60, 500);
    EXPECT_EQ(department(), "01 Ain");
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), "\"0\"\r\n");

    // One commune: the city is filled and the department follows the code.
    QTest::keyClicks(field(5), "6900");
    EXPECT_TRUE(field(6)->text().isEmpty());
    QTest::keyClicks(field(5), "2");
    EXPECT_EQ(field(6)->text(), "LYON");
    EXPECT_EQ(department(), "69 Rhône");

    // Many communes: they are listed to choose from, the city left as typed.
    field(5)->clear();
    field(6)->setText("BEL");
    QTest::keyClicks(field(5), "01300");
    EXPECT_EQ(department(), "01 Ain");
    EXPECT_GT(communes().size(), 10);
    EXPECT_TRUE(communes().contains("BELLEY 01300"));
    EXPECT_EQ(field(6)->text(), "BEL");
    ASSERT_TRUE(clickItem(w, "List1", "BELLEY 01300"));
    EXPECT_EQ(field(6)->text(), "BELLEY");
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), "\"0\"\r\n");
}

TEST_F(QuickCardCreation, NewCardByCtrlNIsPinnedInItsDepartmentOrWhereTheUserClicks)
{
    ASSERT_EQ(f.action("NouvFiche")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    f.dialogs.inputAnswers.enqueue(QStringLiteral(" 17000 "));
    f.trigger("NouvFiche");
    ASSERT_EQ(f.dialogs.inputs.size(), 1);
    EXPECT_EQ(f.dialogs.inputs[0].text, "Code postal de la nouvelle fiche :");
    EXPECT_EQ(f.dialogs.inputs[0].title, "Nouvelle fiche");
    w = qobject_cast<FFrance11*>(f.dialogs.lastModal());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(field(5)->text(), "17000");
    EXPECT_EQ(field(6)->text(), "LA ROCHELLE");
    EXPECT_EQ(department(), "17 Charente-Maritime");
    QTest::keyClicks(field(2), "MARTIN");
    click(child<QPushButton>(w, "Command3"));
    tb::Database* db = f.main->session().database();
    ASSERT_EQ(db->count(), 2);
    const tb::Result<CardRecord> card = db->card(2);
    ASSERT_TRUE(card);
    // Where an import of the same code would have put it: in Charente-Maritime.
    EXPECT_EQ(QPointF(card->x(), card->y()), tb::departmentPoint("17000", 2));
    EXPECT_EQ(tb::DepartmentOutlines::read(f.program.path()).departmentAt(int(card->x()), int(card->y())), "17");

    // Cancelled: nothing happens. On another map the card waits for a click.
    const qsizetype shown = f.dialogs.modals.size();
    f.dialogs.inputAnswers.enqueue(std::nullopt);
    f.trigger("NouvFiche");
    EXPECT_EQ(f.dialogs.modals.size(), shown);
    QFile::copy(f.program.file("frc.gif"), f.program.file("plan.gif"));
    ASSERT_TRUE(db->setMapPath(f.program.file("plan.gif")));
    f.dialogs.inputAnswers.enqueue(QStringLiteral("69002"));
    f.trigger("NouvFiche");
    EXPECT_EQ(f.dialogs.lastMessage(), " Cliquez sur la carte à l'endroit de la nouvelle fiche.");
    EXPECT_EQ(f.dialogs.modals.size(), shown);
    f.leftClickMap(300, 200);
    w = qobject_cast<FFrance11*>(f.dialogs.lastModal());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(field(6)->text(), "LYON");
    QTest::keyClicks(field(2), "PETIT");
    click(child<QPushButton>(w, "Command3"));
    ASSERT_EQ(db->count(), 3);
    const tb::Result<CardRecord> placed = db->card(3);
    ASSERT_TRUE(placed);
    EXPECT_EQ(QPointF(placed->x(), placed->y()), QPointF(300, 200));
}
