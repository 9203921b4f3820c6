#pragma once
#include "app/app_context_ui.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QListWidget;

// "Fiche individuelle": one card, its name list, and the door to its journals.
class FFrance4 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance4(AppContext& ctx, QWidget* parent = nullptr);

    std::array<QLineEdit*, 20> Text1{};  // fields 1 to 20
    std::array<QLabel*, 20> Label1{};    // captions
    QLabel* Label2 = nullptr;            // number of the card shown
    QLabel* Label4 = nullptr;            // swatch
    QLabel* Label5 = nullptr;            // status
    QListWidget* List1 = nullptr;        // names, sorted
    QListWidget* List2 = nullptr;        // hidden: card numbers
    QListWidget* List3 = nullptr;        // hidden: sort entries

    void setSwatchColor(const QColor& color);
    // Captions of fields 11 to 20 from the database's "StrFic.txt".
    void loadCaptions();
    // Empties Text1(0) to Text1(19).
    void clearFields();
    // Label2 = n and the record's fields into Text1 (nothing stored).
    void showRecord(long long n);
    // Rebuilds List1/List2/List3 from every card, in name order.
    void rebuildNameLists();
    // Selects row of List1 as a click does: stores the card shown, then moves.
    void selectNameRow(int row);
    // First row of List1 equal to text, or -1.
    int findNameRow(const QString& text) const;

private:
    AppContext& m_ctx;
};
