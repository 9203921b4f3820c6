#pragma once
#include "core/lists/card_list.h"
#include "core/lists/list_count.h"
#include "gui/app/app_context.h"

#include <QWidget>

class CardListView;
class QLabel;

// "Liste": the cards of a sorted list, a search or a map click. A click on a
// line (or Return) opens its card.
class FFrance3 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance3(AppContext& ctx, QWidget* parent = nullptr);

    // list, said under it to be the list shown.
    void setList(tb::CardList list, tb::ListShown shown);

signals:
    // The card of the line opened.
    void cardChosen(long long n);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void openRow(int row);
    void print();

    AppContext& m_ctx;
    CardListView* m_list = nullptr;
    QLabel* m_count = nullptr;
};
