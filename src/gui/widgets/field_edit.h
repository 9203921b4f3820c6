#pragma once
// A card field: at most its width, and only characters the code page of the
// card files can hold, so nothing typed is lost or changed when stored.
#include <QLineEdit>
#include <QValidator>

class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    FieldEdit(int width, QWidget* parent = nullptr);
    // Wide enough for width characters in the field's font.
    QSize sizeHint() const override;

private:
    int m_width;
};
