// The card window's name list: its highlighted line is the card shown, and a
// click on any other line, the highlighted one included, moves to its card.
#include "core/cards/card_store.h"
#include "gui/cards/card_window.h"
#include "gui/widgets/card_list_view.h"
#include "gui_fixture.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(CardNameList, TheHighlightedLineFollowsTheCardShownAndEveryOtherLineMoves)
{
    GuiFixture f;
    // Name order: A Z (2), B X (3), Z Zed (1).
    const QString db = f.openWithCards({makeCard("Z", "Zed", 1, 100, 100), makeCard("A", "Z", 1, 200, 150),
                                        makeCard("B", "X", 2, 300, 200)});
    f.trigger("Voirlesfiches");
    auto* w = qobject_cast<FFrance4*>(f.dialogs.lastModal());
    ASSERT_NE(w, nullptr);
    auto* names = child<CardListView>(w, "List1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return names->model()->rowCount() == 3; }));
    QCoreApplication::processEvents();
    // Card 1 shows; the first name in name order is highlighted, and a click on it moves there.
    EXPECT_EQ(labelText(w, "Label2"), "1");
    EXPECT_EQ(names->currentIndex().row(), 0);
    clickRow(names, 0);
    EXPECT_EQ(labelText(w, "Label2"), "2");

    // A change of A Z is stored on the move to B X, which is then the line highlighted.
    auto* profession = child<QLineEdit>(w, "Text1(10)");
    typeText(profession, "Boulanger");
    clickRow(names, 1);
    EXPECT_EQ(labelText(w, "Label2"), "3");
    EXPECT_EQ(names->currentIndex().row(), 1);
    EXPECT_EQ(CardStore(db).read(2).value().field(11).trimmed(), "Boulanger");
    clickRow(names, 0);
    EXPECT_EQ(labelText(w, "Label2"), "2");
    EXPECT_EQ(names->currentIndex().row(), 0);
    EXPECT_EQ(profession->text(), "Boulanger");
}
