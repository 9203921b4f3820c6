#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// "Contrôle d'un IBAN": an IBAN checked, a French one shown as its RIB.
class FIban : public QWidget {
    Q_OBJECT
public:
    explicit FIban(AppContext& ctx, QWidget* parent = nullptr);

private:
    void check();

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label2 = nullptr;

    AppContext& m_ctx;
};
