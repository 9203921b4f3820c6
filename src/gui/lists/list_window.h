#pragma once
#include "gui/app/app_context.h"
#include "core/lists/parallel_lists.h"

#include <QWidget>

class QAction;
class QLabel;
class QListWidget;
class QMenuBar;

// "Liste": the cards of a sorted list, a search or a map click.
class FFrance3 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance3(AppContext& ctx, QWidget* parent = nullptr);

    QListWidget* List1 = nullptr;  // display lines
    QListWidget* List2 = nullptr;  // hidden: card numbers
    QListWidget* List3 = nullptr;  // hidden: sort lines
    QLabel* Label2 = nullptr;
    QMenuBar* menuBar = nullptr;
    QAction* Imprim3 = nullptr;    // "Imprimer"

    // Fills the three lists, in the order of lists.
    void setLists(const tb::ParallelLists& lists);
    // Lines of List1, as printed.
    QStringList lines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:

    AppContext& m_ctx;
};
