// A long list: its first screen at once, and no change of cards lost while the rest is sorted.
#include "core/cards/card_store.h"
#include "core/lists/card_lists.h"
#include "gui_fixture.h"
#include "support/list_rows.h"

using namespace testing_support;

TEST(ListFillsWhileCardsChange, FirstScreenAtOnceAndNoChangeLost)
{
    GuiFixture f;
    std::vector<CardRecord> cards;
    for (int i = 0; i < 30000; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg((i * 7919) % 30000, 5, 10, QLatin1Char('0')),
                                 QStringLiteral("Prénom"), i % 10 == 0 ? 0 : 1, 1, 1, "75001", "Paris"));
    const QString folder = f.openWithCards(cards);
    tb::Database* db = f.main->session().database();

    for (int round = 0; round < 2; ++round) {
        f.trigger("alpha");
        auto* w = qobject_cast<FFrance3*>(f.dialogs.lastModal());
        ASSERT_NE(w, nullptr);
        auto* view = child<CardListView>(w, "List1");
        ASSERT_TRUE(view->cards()->filling()) << round;
        // The first lines are there, in their final order, and the keyboard moves.
        const QList<long long> first = rowNumbers(view);
        ASSERT_GE(first.size(), 200);
        EXPECT_EQ(view->currentIndex().row(), 0);
        keyClick(view, Qt::Key_Down);
        EXPECT_EQ(view->currentIndex().row(), 1);
        const long long current = first[1];

        // Changes while the rest is sorted: a card comes first, one is
        // archived, one created; in the second round one is deleted (cards
        // renumbered: the list is made again).
        CardRecord moved = db->card(first[5]).value();
        moved.fields[2] = QStringLiteral("AAAA");
        ASSERT_TRUE(db->storeCard(first[5], moved));
        ASSERT_TRUE(db->setArchived(first[3], true));
        ASSERT_TRUE(db->createCard(makeCard("ZZZZ", "", 1, 1, 1)));
        if (round == 1)
            ASSERT_TRUE(db->deleteCard(first[7]));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->cards()->filling(); }, 60000));

        const CardStore store(folder);
        const std::vector<long long> sorted =
            listNumbers(*tb::buildCardList(store, store.readCount().value, tb::ListKind::Alphabetical));
        const QList<long long> expected(sorted.begin(), sorted.end());
        EXPECT_EQ(rowNumbers(view), expected) << round;
        EXPECT_EQ(view->cards()->numberAt(0), round == 0 ? first[5] : expected[0]);
        // The line chosen stays the current one.
        EXPECT_EQ(view->cards()->numberAt(view->currentIndex().row()), current) << round;
        w->hide();
    }
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}
