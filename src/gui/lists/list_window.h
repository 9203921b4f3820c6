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

    // The cards of the lines selected, in their order; those of every line.
    QList<long long> selectedCards() const;
    QList<long long> listedCards() const;

signals:
    // The card of the line opened.
    void cardChosen(long long n);
    // "Étiquettes…", "Enveloppes…": for the selection or the whole list.
    void labelsRequested(const QList<long long>& selection, const QList<long long>& list);
    void envelopesRequested(const QList<long long>& selection, const QList<long long>& list);
    // "Lettres…": one letter to each card selected.
    void lettersRequested(QList<long long> cards);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void openRow(int row);
    void buildSelectionCommands(class QMenuBar* menuBar, class QBoxLayout* layout);
    // True, after telling the user, when no line is selected.
    bool refuseWithoutSelection();
    void archiveSelection();
    void mailSelection();
    void exportSelection(int format);
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
