#pragma once
// The part both card windows share: the twenty fields with their captions, the
// civility buttons, department and commune lists, pin colour squares with the
// swatch, and the photo frame. Each window names the controls that differ.
#include "core/cards/pin_field.h"
#include "gui/app/app_context.h"

#include <QSize>
#include <QWidget>
#include <array>

class ColourSquare;
class FieldEdit;
class PhotoFrame;
class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;

class CardFormWidget : public QWidget {
    Q_OBJECT
public:
    struct Names {
        int firstSquare;         // number of the first colour square (Label6 or Label5)
        QString communeList;     // "List4" or "List1"
        QString markerCaption;   // "Label13" or "Label12"
    };
    CardFormWidget(AppContext& ctx, const Names& names, QWidget* parent = nullptr);

    using Texts = std::array<QString, CardRecord::kFieldCount>;
    // The fields as typed (the stored padding is not shown), field 1 as the
    // pin holds it.
    Texts texts() const;
    void setTexts(const Texts& texts);
    // Fields 2 to 20.
    QString text(tb::CardField k) const;
    void setText(tb::CardField k, const QString& text);
    // Field 1: the program's, never typed; the marker squares change it.
    const tb::PinField& pin() const { return m_pin; }
    void setPin(const tb::PinField& pin);
    void clearFields();

    // Captions of fields 11 to 20 from the database in use.
    void loadCaptions();
    void clearCustomCaptions();
    // The departments, then the remembered one shown (which lists its communes).
    void loadDepartments();
    // Department row of the list shown with its communes (the remembered one
    // when -1); remembered only when the user picks it.
    void showDepartment(int row);
    // A postal code put in its field as if typed.
    void takePostalCode(const QString& code);
    // Debt calculation into fields 15 to 20 (nothing stored).
    void computeDebt(bool rightAlign);

    // The photo of card n in the frame (a missing, unreadable or huge file
    // leaves it empty); the refusal of a file that is there but cannot be
    // shown, "" otherwise.
    QString loadCardPhoto(long long n);
    // A photo not written yet (its file's bytes).
    void showPhoto(const QByteArray& bytes);
    void clearPhoto();
    QSize photoSize() const { return m_photoSize; }

    // The widgets of the reading order, for the window's tab chain.
    QWidget* firstInTabOrder() const;
    QWidget* lastInTabOrder() const;
    // The first text field, where typing starts when a card opens.
    QWidget* firstField() const;

signals:
    // The user chose a department entry (not the opening's own choice).
    void departmentChosen(int index);
    void photoClicked();
    void pinChanged();

private:
    FieldEdit* field(tb::CardField k) const;
    void build(const Names& names);
    void chainTabOrder();
    void fillCommunes();
    void chooseCommune(int row);
    // Five digits typed: the city filled when one commune has them, their
    // communes listed otherwise, their department shown.
    void followPostalCode(const QString& typed);
    void chooseMarker(int digit);
    void paintSwatch(int marker);
    void followCaptions();
    void showCivility(const QString& civility);

    AppContext& m_ctx;
    tb::PinField m_pin;
    // Fields 2 to 20 (none for field 1).
    std::array<FieldEdit*, CardRecord::kFieldCount> m_fields{};
    std::array<QLabel*, CardRecord::kFieldCount> m_captions{};
    std::array<QRadioButton*, 3> m_civility{};
    QComboBox* m_departments = nullptr;
    QListWidget* m_communes = nullptr;
    std::array<ColourSquare*, 7> m_squares{};
    QLabel* m_swatch = nullptr;
    QLabel* m_markerCaption = nullptr;
    QMetaObject::Connection m_captionsLink;
    PhotoFrame* m_photo = nullptr;
    QSize m_photoSize;
};
