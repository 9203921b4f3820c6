#pragma once
#include "gui/app/app_context.h"

#include <QList>
#include <QWidget>

class CardListModel;
class QLabel;
class QListView;

// "Liste des débiteurs": the active cards that still owe, largest first, with
// their last payment and the total; printed, and the lines chosen (all when
// none is) sent a letter.
class FDebiteurs : public QWidget {
    Q_OBJECT
public:
    explicit FDebiteurs(AppContext& ctx, QWidget* parent = nullptr);

signals:
    // Return or a double-click on a line.
    void cardChosen(long long n);
    // "Lettres…": the cards of the lines chosen.
    void lettersRequested(const QList<long long>& cards);

private:
    void refresh();
    void print();  // Command1
    QList<long long> chosenCards() const;

    AppContext& m_ctx;
    QListView* m_list = nullptr;  // List1
    CardListModel* m_model = nullptr;
    QLabel* m_total = nullptr;  // Label1
};
