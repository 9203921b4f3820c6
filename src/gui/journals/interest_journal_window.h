#pragma once
#include "gui/journals/journal_window_base.h"

// "Journal des intérêts": interest periods on an amount, their total written
// into the card's interest field.
class Ffrance18 : public JournalWindowBase {
    Q_OBJECT
public:
    explicit Ffrance18(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void record() override;
    void showTotals() override;

private:
    QLineEdit* m_amount = nullptr;  // Text1
    QLineEdit* m_start = nullptr;   // Text2
    QLineEdit* m_end = nullptr;     // Text3
    QLineEdit* m_rate = nullptr;    // Text4
    QLabel* m_days = nullptr;       // Label8
    QLabel* m_interest = nullptr;   // Label13
    QLabel* m_total = nullptr;      // Label6
};
