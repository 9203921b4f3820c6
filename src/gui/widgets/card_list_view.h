#pragma once
// The visible list of cards of a window (List1): a view over a CardListModel
// in a fixed-pitch font, each row opened with a click or with Return.
#include "gui/widgets/card_list_model.h"

#include <QListView>

#include <vector>

class CardListView : public QListView {
    Q_OBJECT
public:
    explicit CardListView(QWidget* parent = nullptr);
    CardListModel* cards() const { return m_model; }
    QStringList lines() const { return m_model->list().displayLines(); }
    // Several rows selectable (Ctrl and Shift with the mouse or the arrows,
    // Ctrl+A); rows that come in while all are selected are selected too.
    void allowSeveralRows();
    // The rows selected, in their order.
    std::vector<int> selectedRowsInOrder() const;
    int selectedRowCount() const;

signals:
    // A left click on a row (-1: below the last line), or Return on the
    // current row; with Ctrl or Shift a click only selects. A click on a row
    // of a selection of several keeps the selection.
    void rowOpened(int row);

public slots:
    void selectAll() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CardListModel* m_model;
    bool m_allSelected = false;  // Ctrl+A: the rows still to come are selected too
};
