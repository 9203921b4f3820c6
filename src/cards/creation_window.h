#pragma once
#include "app/app_context_ui.h"
#include "cards/card_record.h"

#include <QWidget>
#include <array>

class CardFormWidget;
class ClickableLabel;
class PhotoFrame;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;
class QRadioButton;

// "Fiche individuelle" in creation: a new card pinned at a map point.
class FFrance11 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance11(AppContext& ctx, QWidget* parent = nullptr);

    std::array<QLineEdit*, 20> Text1{};  // fields 1 to 20; Text1(0) hidden
    std::array<QLabel*, 20> Label1{};    // captions
    QLabel* Label2 = nullptr;            // number of the new card
    QLabel* Label3 = nullptr;            // heading
    QLabel* Label4 = nullptr;            // swatch
    QLabel* Label12 = nullptr;           // "Marqueur"
    QListWidget* List1 = nullptr;        // communes of the department
    QComboBox* Combo1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    std::array<ClickableLabel*, 7> colourSquares{};  // Label5 .. Label11
    PhotoFrame* Picture1 = nullptr;
    QLabel* Pctdim = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QMenuBar* menuBar = nullptr;
    QAction* photo = nullptr;

    void setSwatchColor(const QColor& color);

    void choosePhoto();         // menu "Incorporer une photo"
    void calculateDebt();       // Command2
    void validateCreation();    // Command3

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void rememberDepartment(int index);
    void drawPins();

    AppContext& m_ctx;
    CardFormWidget* m_form = nullptr;
};
