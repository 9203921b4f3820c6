#include "gui/widgets/card_list_model.h"

#include "core/base/freed_memory.h"
#include "core/db/database.h"
#include "core/db/session.h"
#include "core/lists/list_count.h"

#include <QFontMetrics>

#include <thread>

namespace {
// Often enough for rows to come in as a user pages down.
constexpr int kFillPollMs = 10;
constexpr int kLinesFreedHere = 10000;
}  // namespace

CardListModel::CardListModel(QObject* parent) : QAbstractListModel(parent)
{
    m_fillTimer.setInterval(kFillPollMs);
    connect(&m_fillTimer, &QTimer::timeout, this, &CardListModel::takeSorted);
}

void CardListModel::setList(tb::CardList list)
{
    stopFilling();
    beginResetModel();
    std::swap(m_list, list);
    endResetModel();
    // A million lines take up to a second to free: not on the window's thread.
    if (list.size() > kLinesFreedHere)
        std::thread([old = std::make_unique<tb::CardList>(std::move(list))]() mutable {
            old.reset();
            tb::returnFreedMemory();
        }).detach();
}

void CardListModel::fill(std::shared_ptr<tb::ListFill> fill)
{
    setList(fill->takeFirst());
    m_fill = std::move(fill);
    m_fillTimer.start();
    takeSorted();
}

void CardListModel::stopFilling()
{
    m_fillTimer.stop();
    m_fill.reset();
    m_changes.clear();
}

void CardListModel::takeSorted()
{
    if (!m_fill)
        return;
    // done() first: rows sorted after it was asked come with the next round.
    const bool done = m_fill->done();
    tb::CardList more = m_fill->takeMore();
    if (!more.isEmpty()) {
        beginInsertRows({}, m_list.size(), m_list.size() + more.size() - 1);
        m_list.append(std::move(more));
        endInsertRows();
    }
    if (!done)
        return;
    const tb::Status status = m_fill->status();
    m_fillTimer.stop();
    m_fill.reset();
    for (const auto& [n, display] : std::exchange(m_changes, {}))
        place(n, display);
    emit filled(status);
}

int CardListModel::replace(long long n, const QString& display)
{
    if (m_list.rowOf(n) < 0)
        return -1;
    follow(n, display);
    return m_list.rowOf(n);
}

void CardListModel::follow(long long n, const std::optional<QString>& display)
{
    if (m_fill) {
        m_changes.emplace_back(n, display);
        return;
    }
    place(n, display);
}

void CardListModel::place(long long n, const std::optional<QString>& display)
{
    // Rows changed, moved, removed or inserted, never the model reset: the
    // view keeps its place, its current row and its selection.
    const int row = m_list.rowOf(n);
    if (row >= 0 && !display) {
        beginRemoveRows({}, row, row);
        m_list.remove(row);
        endRemoveRows();
        return;
    }
    if (!display)
        return;
    if (row < 0) {
        const int at = m_list.insertionRow(*display, n);
        beginInsertRows({}, at, at);
        m_list.insert(at, *display, n);
        endInsertRows();
        return;
    }
    int to = m_list.sorted() ? m_list.insertionRow(*display, n) : row;
    if (to > row)
        --to;  // counted with the line itself still above
    if (to == row) {
        m_list.replace(n, *display);
        emit dataChanged(index(row), index(row));
        return;
    }
    beginMoveRows({}, row, row, {}, to > row ? to + 1 : to);
    m_list.replace(n, *display);
    endMoveRows();
}

void CardListModel::setTipsFrom(const tb::Session& session)
{
    // Homonyms differ by their place and number.
    setTipSource([&session](long long n) {
        const tb::Database* db = session.database();
        if (!db)
            return QString();
        const tb::Result<CardRecord> card = db->store().read(n);
        return card ? tb::cardLineTip(*card, n) : QString();
    });
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
