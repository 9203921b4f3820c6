#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// "CONVERTISSEUR": an amount between the euro and a former currency, the
// franc value of the euro side, each amount in words as its tooltip.
class FFrance8 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance8(AppContext& ctx, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void recalculate();
    void directionChanged();

    QLineEdit* Text1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label12 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo3 = nullptr;

    AppContext& m_ctx;
};
