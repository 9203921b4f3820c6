#pragma once
// The search box of the main window (Ctrl+F): as the user types, the cards
// holding every word in any field, listed under the box; Return or a click
// opens one.
#include "core/db/database.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace tb {
class Session;
}
class CardListView;
class QLabel;
class QLineEdit;

class SearchBox : public QWidget {
    Q_OBJECT
public:
    // Lines listed at most; the count tells how many cards were found.
    static constexpr int kShownLines = 500;
    using Searcher = std::function<tb::Result<tb::Database::SearchResult>(const QString& typed)>;

    // The list of results is laid over overlay (the map's area).
    SearchBox(QWidget* overlay, QWidget* parent);
    void setSearcher(Searcher searcher);
    // Each line's tooltip tells its card's place and number.
    void setTipsFrom(const tb::Session& session);
    // Ctrl+F: the box takes the focus, its text selected.
    void focusBox();
    // Empties the box and hides the results.
    void clear();

signals:
    void cardChosen(long long n);
    // "Afficher dans la liste": every card found, in the list window.
    void listRequested(const QString& typed);
    void failed(const tb::Error& error);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& typed);
    void openRow(int row);
    void placeResults();

    Searcher m_searcher;
    QLineEdit* m_edit;
    // The panel lives on the map's overlay, which may go first when the
    // window closes; its events still reach the filter until then.
    QPointer<QWidget> m_panel;
    QLabel* m_count;
    CardListView* m_list;
    class QPushButton* m_toList;  // "Afficher dans la liste"
};
