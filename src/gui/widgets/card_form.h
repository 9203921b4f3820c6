#pragma once
// The part both card windows share: the twenty fields with their captions, the
// civility buttons, department and commune lists, pin colour squares with the
// swatch, and the photo frame. Each window names the controls that differ.
#include "gui/app/app_context.h"
#include "core/cards/card_record.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <array>

class QComboBox;
class QListWidget;
class QRadioButton;

// Refuses every character that the code page of the card files cannot hold.
class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// A card field: at most its width, code-page characters only. The stored
// texts carry trailing blanks up to the width, so typing into a full field
// first gives up one of those blanks, and a click past the text puts the
// cursor right after it.
class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    FieldEdit(int width, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void makeRoom(int needed);
};

// A label that reports clicks (colour squares).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// Photo frame: the picture unscaled and centred when smaller than the frame,
// otherwise scaled to fit.
class PhotoFrame : public QFrame {
    Q_OBJECT
public:
    explicit PhotoFrame(QWidget* parent = nullptr);
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    // Where the picture is drawn, in frame coordinates.
    QRect pictureRect() const;
signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_image;
};

class CardFormWidget : public QWidget {
    Q_OBJECT
public:
    struct Names {
        int firstSquare;         // number of the first colour square (Label6 or Label5)
        QString communeList;     // "List4" or "List1"
        QString markerCaption;   // "Label13" or "Label12"
    };
    CardFormWidget(AppContext& ctx, const Names& names, QWidget* parent = nullptr);

    std::array<QLineEdit*, CardRecord::kFieldCount> Text1{};
    std::array<QLabel*, CardRecord::kFieldCount> Label1{};
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QListWidget* communes = nullptr;
    std::array<ClickableLabel*, 7> squares{};  // markers 1 to 7
    QLabel* Label4 = nullptr;                  // swatch
    QLabel* markerCaption = nullptr;           // "Marqueur"
    PhotoFrame* Picture1 = nullptr;
    QLabel* Pctdim = nullptr;                  // hidden, the photo at natural size

    std::array<QString, CardRecord::kFieldCount> texts() const;
    void setTexts(const std::array<QString, CardRecord::kFieldCount>& texts);
    void clearFields();

    // Captions of fields 11 to 20 from the database's "StrFic.txt".
    void loadCaptions();
    void clearCustomCaptions();

    // "depts.txt" into Combo1, then the remembered position of
    // "DeptCourant.txt" shown (which lists its communes).
    void loadDepartments();
    // Communes of the department shown in Combo1.
    void fillCommunes();
    // Takes commune line row into the postal code and city fields.
    void chooseCommune(int row);
    // A colour square: current marker, field 1, swatch, beep.
    void chooseMarker(int digit);
    void setSwatchColor(const QColor& color);
    // Swatch from the current marker digit, when it is one of 1 to 7.
    void paintSwatchFromMarker();
    // Debt calculation into fields 15 to 20 (nothing stored).
    void computeDebt(bool rightAlign);

    // The photo of card n ("photo" + n + ".jpg" of the database) in the frame;
    // Pctdim takes its natural size. A missing, unreadable or huge file leaves
    // the frame empty.
    void loadCardPhoto(long long n);
    void clearPhoto();

signals:
    // The user chose a department entry (not the opening's own choice).
    void departmentChosen(int index);

private:
    void build(const Names& names);
    AppContext& m_ctx;
};
