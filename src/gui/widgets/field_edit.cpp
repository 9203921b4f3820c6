#include "gui/widgets/field_edit.h"

#include "core/base/codepage.h"

QValidator::State Cp1252Validator::validate(QString& input, int&) const
{
    return tb::fitsCp1252(input) ? Acceptable : Invalid;
}

FieldEdit::FieldEdit(int width, QWidget* parent) : QLineEdit(parent), m_width(width)
{
    setMaxLength(width);
    setValidator(new Cp1252Validator(this));
}

QSize FieldEdit::sizeHint() const
{
    QSize hint = QLineEdit::sizeHint();
    // Capitals are the widest common letters of a surname or a city.
    hint.setWidth(fontMetrics().horizontalAdvance(QString(m_width, u'N')) * 85 / 100 + 16);
    return hint;
}
