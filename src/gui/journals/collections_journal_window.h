#pragma once
#include "gui/journals/journal_window_base.h"

// "Journal des recouvrements": the payments received on the card's debt, the
// total collected and the remaining due.
class Ffrance19 : public JournalWindowBase {
    Q_OBJECT
public:
    explicit Ffrance19(AppContext& ctx, QWidget* parent = nullptr);

    // The amounts to collect, collected and remaining of card as the card
    // window hands it over, its debt calculated.
    void setAmounts(const CardRecord& card);

protected:
    void record() override;
    void showTotals() override;

private:
    QLineEdit* m_date = nullptr;     // Text1
    QLineEdit* m_party = nullptr;    // Text2
    QLineEdit* m_means = nullptr;    // Text3
    QLineEdit* m_amount = nullptr;   // Text4
    QLabel* m_toCollect = nullptr;   // Label10
    QLabel* m_collected = nullptr;   // Label6
    QLabel* m_remaining = nullptr;   // Label9
};
