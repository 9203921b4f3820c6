#pragma once
// A list of cards shown in a QListView: each row is a display line and
// carries its card number (role CardNumberRole).
#include "core/lists/card_list.h"

#include <QAbstractListModel>
#include <QFont>
#include <QSize>
#include <functional>

class CardListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int CardNumberRole = Qt::UserRole + 1;

    explicit CardListModel(QObject* parent = nullptr);

    void setList(tb::CardList list);
    const tb::CardList& list() const { return m_list; }
    long long numberAt(int row) const { return m_list.number(row); }
    // Card n shows display now; returns its new row (-1 when not listed).
    int replace(long long n, const QString& display);
    // Rows tall enough for the whole glyphs of font (accented capitals, "Ç").
    void setRowFont(const QFont& font);
    // What a row's tooltip (and its description for a screen reader) says
    // of its card, asked when shown.
    void setTipSource(std::function<QString(long long n)> tip) { m_tip = std::move(tip); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    tb::CardList m_list;
    QSize m_rowSize;
    std::function<QString(long long n)> m_tip;
};
