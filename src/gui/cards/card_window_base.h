#pragma once
// What the card window and the creation window share: the card form, the
// heading with the card number, the swatch, and their placement.
#include "gui/app/app_context.h"
#include "gui/widgets/card_form.h"

#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

class CardWindowBase : public QWidget {
    Q_OBJECT
public:
    std::array<QLineEdit*, 20> Text1{};  // fields 1 to 20; Text1(0) hidden
    std::array<QLabel*, 20> Label1{};    // captions
    QLabel* Label2 = nullptr;            // number of the card
    QLabel* Label3 = nullptr;            // heading
    QLabel* Label4 = nullptr;            // swatch
    QComboBox* Combo1 = nullptr;         // departments
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    std::array<ClickableLabel*, 7> colourSquares{};
    PhotoFrame* Picture1 = nullptr;
    QLabel* Pctdim = nullptr;

    void setSwatchColor(const QColor& color);

protected:
    CardWindowBase(AppContext& ctx, QWidget* parent, const QString& objectName, const QString& heading,
                   const CardFormWidget::Names& names);

    // Centres the window on an 800 by 600 screen, as every card window opens.
    void placeCentred();

    AppContext& m_ctx;
    CardFormWidget* m_form = nullptr;
    QLabel* m_numberCaption = nullptr;  // "N°", buddy of Label2
};
