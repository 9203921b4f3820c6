#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// "Clé RIB": the check key of a bank code, branch code and account number.
class Ffrance17 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance17(AppContext& ctx, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void computeKey();

    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;

    AppContext& m_ctx;
};
