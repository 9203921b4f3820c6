#pragma once
#include "core/journals/reminders.h"
#include "gui/app/app_context.h"

#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

// "Rappels": the memento lines and birthdays due (date, card, text), the card
// of one opened on request, and how many days ahead and back to look.
class FRappels : public QWidget {
    Q_OBJECT
public:
    explicit FRappels(AppContext& ctx, QWidget* parent = nullptr);

    void setReminders(const std::vector<tb::Reminder>& reminders);
    // While they are gathered again.
    void setGathering();

signals:
    // "Ouvrir la fiche", Return or a double click on a line.
    void cardChosen(long long n);
    // The days were stored: the reminders are to be gathered again.
    void settingsChanged();

private:
    void openChosen();     // Command1
    void storeSettings();  // Command2

    AppContext& m_ctx;
    QTreeWidget* m_list = nullptr;   // List1
    QLabel* m_state = nullptr;       // Label1
    QPushButton* m_open = nullptr;   // Command1
    QSpinBox* m_ahead = nullptr;     // Text1
    QSpinBox* m_back = nullptr;      // Text2
};
