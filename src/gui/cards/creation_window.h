#pragma once
#include "gui/cards/card_window_base.h"

class QMenuBar;

// "Fiche individuelle" in creation: a new card pinned at a map point.
class FFrance11 : public CardWindowBase {
    Q_OBJECT
public:
    explicit FFrance11(AppContext& ctx, QWidget* parent = nullptr);

    // A new card n pinned as pin says.
    void prepare(long long n, const tb::PinField& pin);
    // The department row shown first (-1: the remembered one), and the postal
    // code the card starts with (none when empty).
    void startAt(int departmentRow, const QString& postalCode = QString());
    // The picture chosen for the new card: held, written only with the card.
    void takePhoto(const QString& path);

signals:
    // The file browser, to choose (not copy) a photo for new card n.
    void photoRequested(long long n);

protected:
    bool hasUnsavedEdits() const override;
    bool settleEdits() override;

private:
    void choosePhoto();         // menu "Incorporer une photo"
    void calculateDebt();       // Command2
    void validateCreation();    // Command3
    void rememberDepartment(int index);
    void hideEvent(QHideEvent* event) override;

    QMenuBar* m_menuBar = nullptr;
    // The chosen photo, written only with the card it belongs to.
    QByteArray m_photo;
};
