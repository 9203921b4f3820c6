#pragma once
#include "gui/cards/card_window_base.h"

class QMenuBar;

// "Fiche individuelle" in creation: a new card pinned at a map point.
class FFrance11 : public CardWindowBase {
    Q_OBJECT
public:
    explicit FFrance11(AppContext& ctx, QWidget* parent = nullptr);

    // A new card n whose hidden field 1 holds the marker and the position.
    void prepare(long long n, const QString& field1);

protected:
    bool hasUnsavedEdits() const override;
    bool settleEdits() override;

private:
    void choosePhoto();         // menu "Incorporer une photo"
    void calculateDebt();       // Command2
    void validateCreation();    // Command3
    void rememberDepartment(int index);

    QMenuBar* m_menuBar = nullptr;
};
