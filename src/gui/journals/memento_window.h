#pragma once
#include "gui/journals/journal_window_base.h"

// "Memento": dated one-line annotations about the card.
class Ffrance92 : public JournalWindowBase {
    Q_OBJECT
public:
    explicit Ffrance92(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void record() override;

private:
    QLineEdit* m_date = nullptr;  // Text1
    QLineEdit* m_note = nullptr;  // Text2
};
