#pragma once
#include "gui/journals/journal_window_base.h"

// "Journal des recouvrements": the payments received on the card's debt, the
// total collected and the remaining due.
class Ffrance19 : public JournalWindowBase {
    Q_OBJECT
public:
    explicit Ffrance19(AppContext& ctx, QWidget* parent = nullptr);

    // Card fields 18, 19 and 20 as the card window hands them over.
    void setAmounts(const QString& toCollect, const QString& collected, const QString& remaining);

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
