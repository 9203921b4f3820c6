#include "gui/widgets/card_list_view.h"

#include "core/lists/list_page_layout.h"

#include <QKeyEvent>
#include <QMouseEvent>

CardListView::CardListView(QWidget* parent) : QListView(parent), m_model(new CardListModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);  // large lists stay instant
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Fixed pitch: the padded fields line up in columns.
    QFont f = tb::defaultListPrintFont();
    f.setPointSize(font().pointSize() > 0 ? font().pointSize() : 10);
    setFont(f);
    m_model->setRowFont(f);
}

void CardListView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QListView::mousePressEvent(event);
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        setCurrentIndex(index);
    emit rowOpened(index.isValid() ? index.row() : -1);
}

void CardListView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        emit rowOpened(currentIndex().row());
        return;
    }
    QListView::keyPressEvent(event);
}
