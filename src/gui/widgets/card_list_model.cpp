#include "gui/widgets/card_list_model.h"

#include <QFontMetrics>

CardListModel::CardListModel(QObject* parent) : QAbstractListModel(parent) {}

void CardListModel::setList(tb::CardList list)
{
    beginResetModel();
    m_list = std::move(list);
    endResetModel();
}

int CardListModel::replace(long long n, const QString& display)
{
    const int before = m_list.rowOf(n);
    if (before < 0)
        return -1;
    beginResetModel();
    const int after = m_list.replace(n, display);
    endResetModel();
    return after;
}

void CardListModel::setRowFont(const QFont& font)
{
    const QFontMetrics fm(font);
    // Accents above capitals and the cedilla below reach past the font's
    // nominal height in some fonts.
    const QRect glyphs = fm.boundingRect(QStringLiteral("ÀÉÈÊÎÔÛÇçgjpqy|"));
    m_rowSize = QSize(-1, std::max(fm.height(), glyphs.height()) + 2);
}

int CardListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.size();
}

QVariant CardListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_list.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_list.display(index.row());
    case CardNumberRole:
        return m_list.number(index.row());
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (m_tip && m_list.number(index.row()) > 0)
            return m_tip(m_list.number(index.row()));
        return {};
    case Qt::SizeHintRole:
        return m_rowSize.isValid() || m_rowSize.height() > 0 ? QVariant(m_rowSize) : QVariant();
    default:
        return {};
    }
}
