#include "gui/widgets/card_list_view.h"

#include "core/lists/list_page_layout.h"

#include <QKeyEvent>
#include <QItemSelectionModel>

#include <algorithm>
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

void CardListView::allowSeveralRows()
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Rows sorted in the background come after the ones shown.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        if (m_allSelected && first == m_model->rowCount() - (last - first + 1) && selectedRowCount() == first)
            selectionModel()->select(QItemSelection(m_model->index(first), m_model->index(last)),
                                     QItemSelectionModel::Select);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { m_allSelected = false; });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_allSelected && selectedRowCount() != m_model->rowCount())
            m_allSelected = false;
    });
}

void CardListView::selectAll()
{
    QListView::selectAll();
    m_allSelected = selectionMode() != QAbstractItemView::SingleSelection;
}

int CardListView::selectedRowCount() const
{
    // From the ranges: a selection of every row of a large list is one range.
    int count = 0;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        count += range.height();
    return count;
}

std::vector<int> CardListView::selectedRowsInOrder() const
{
    std::vector<int> rows;
    rows.reserve(size_t(selectedRowCount()));
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CardListView::mousePressEvent(QMouseEvent* event)
{
    const bool selecting = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (event->button() != Qt::LeftButton || (selecting && selectionMode() != QAbstractItemView::SingleSelection)) {
        QListView::mousePressEvent(event);
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    // A click inside a selection of several rows keeps it; elsewhere it selects that row alone.
    if (index.isValid() && selectedRowCount() > 1 && selectionModel()->isSelected(index))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    else if (index.isValid())
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
