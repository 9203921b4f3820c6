#pragma once
#include "core/lists/card_list.h"
#include "core/lists/sort_keys.h"
#include "core/lists/list_count.h"
#include "gui/app/app_context.h"

#include <QWidget>

#include <memory>
#include <optional>

class CardListView;
class QLabel;

// "Liste": the cards of a sorted list, a search or a map click. A click on a
// line (or Return) opens its card.
class FFrance3 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance3(AppContext& ctx, QWidget* parent = nullptr);

    // A list given whole (a search, a map click), said under it to be the
    // list shown: it stays as given.
    void setList(tb::CardList list, tb::ListShown shown);
    // A sorted list of the cards: its first rows at once, the rest as it is
    // sorted; it follows the cards' changes.
    void fillList(std::shared_ptr<tb::ListFill> fill, tb::ListShown shown);

signals:
    // The card of the line opened.
    void cardChosen(long long n);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void openRow(int row);
    void print();
    void followDatabase();
    void followCard(long long n);
    void refill();
    void showFirstRow();
    void showCount();

    AppContext& m_ctx;
    CardListView* m_list = nullptr;
    std::optional<tb::ListKind> m_kind;  // of the sorted list shown
    QLabel* m_count = nullptr;
    tb::ListShown m_shown = tb::ListShown::Alphabetical;
};
