#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QPushButton;
class QTreeWidget;

// "Corbeille": the cards deleted from the database, to bring back or to lose
// for good.
class FCorbeille : public QWidget {
    Q_OBJECT
public:
    explicit FCorbeille(AppContext& ctx, QWidget* parent = nullptr);

    // Lists the trash again (it changes with every deletion).
    void refresh();

private:
    int chosenEntry() const;
    void restore();        // Command1
    void purgeChosen();    // Command2
    void emptyTrash();     // Command3
    bool confirm(const QString& question);

    AppContext& m_ctx;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_restore = nullptr;
    QPushButton* m_purge = nullptr;
    QPushButton* m_empty = nullptr;
};
