#pragma once
// A list of cards shown in a QListView: each row is a display line and
// carries its card number (role CardNumberRole).
#include "core/lists/card_list.h"
#include "core/lists/sort_keys.h"

#include <QAbstractListModel>
#include <QFont>
#include <QSize>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>
#include <vector>
#include <functional>

namespace tb {
class Session;
}

class CardListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int CardNumberRole = Qt::UserRole + 1;

    explicit CardListModel(QObject* parent = nullptr);

    void setList(tb::CardList list);
    // The first rows of fill now, the others appended as they are sorted
    // (rows already shown stay, with the current row and selection).
    void fill(std::shared_ptr<tb::ListFill> fill);
    bool filling() const { return m_fill != nullptr; }
    const tb::CardList& list() const { return m_list; }
    long long numberAt(int row) const { return m_list.number(row); }
    // Card n shows display now; returns its new row (-1 when not listed).
    int replace(long long n, const QString& display);
    // Card n shows display now, or leaves the list (nothing); one that was
    // not listed comes in. While the list fills, once it is full.
    void follow(long long n, const std::optional<QString>& display);
    // Rows tall enough for the whole glyphs of font (accented capitals, "Ç").
    void setRowFont(const QFont& font);
    // What a row's tooltip (and its description for a screen reader) says
    // of its card, asked when shown.
    void setTipSource(std::function<QString(long long n)> tip) { m_tip = std::move(tip); }
    // Tooltips giving the place and number of the card (tb::cardLineTip),
    // read from the database in use when shown.
    void setTipsFrom(const tb::Session& session);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

signals:
    // The list is full (status: why the rows past those shown could not be read).
    void filled(const tb::Status& status);

private:
    void takeSorted();
    void stopFilling();
    void place(long long n, const std::optional<QString>& display);

    tb::CardList m_list;
    QSize m_rowSize;
    std::shared_ptr<tb::ListFill> m_fill;
    QTimer m_fillTimer;
    std::vector<std::pair<long long, std::optional<QString>>> m_changes;  // while filling
    std::function<QString(long long n)> m_tip;
};
