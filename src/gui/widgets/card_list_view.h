#pragma once
// The visible list of cards of a window (List1): a view over a CardListModel
// in a fixed-pitch font, each row opened with a click or with Return.
#include "gui/widgets/card_list_model.h"

#include <QListView>

class CardListView : public QListView {
    Q_OBJECT
public:
    explicit CardListView(QWidget* parent = nullptr);
    CardListModel* cards() const { return m_model; }
    QStringList lines() const { return m_model->list().displayLines(); }

signals:
    // A left click on a row (-1: below the last line), or Return on the
    // current row.
    void rowOpened(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CardListModel* m_model;
};
