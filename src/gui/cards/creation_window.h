#pragma once
#include "gui/app/app_context.h"
#include "gui/cards/card_window_base.h"
#include "core/cards/card_record.h"

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
class FFrance11 : public CardWindowBase {
    Q_OBJECT
public:
    explicit FFrance11(AppContext& ctx, QWidget* parent = nullptr);

    QLabel* Label12 = nullptr;           // "Marqueur"
    QListWidget* List1 = nullptr;        // communes of the department
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QMenuBar* menuBar = nullptr;
    QAction* photo = nullptr;


    void choosePhoto();         // menu "Incorporer une photo"
    void calculateDebt();       // Command2
    void validateCreation();    // Command3

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void rememberDepartment(int index);
    void drawPins();

};
