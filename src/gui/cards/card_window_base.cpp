#include "gui/cards/card_window_base.h"

#include "gui/app/secondary_window.h"
#include <QDir>
#include <QLabel>

CardWindowBase::CardWindowBase(AppContext& ctx, QWidget* parent, const QString& objectName, const QString& heading,
                               const CardFormWidget::Names& names)
    : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, objectName, QStringLiteral("Fiche individuelle"));
    QDir::setCurrent(m_ctx.values.programFolder());

    m_form = new CardFormWidget(m_ctx, names, this);
    Text1 = m_form->Text1;
    Label1 = m_form->Label1;
    Label4 = m_form->Label4;
    Combo1 = m_form->Combo1;
    Option1 = m_form->Option1;
    Option2 = m_form->Option2;
    Option3 = m_form->Option3;
    colourSquares = m_form->squares;
    Picture1 = m_form->Picture1;
    Pctdim = m_form->Pctdim;

    Label3 = new QLabel(heading, this);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont font = Label3->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    Label3->setFont(font);
    m_numberCaption = new QLabel(QStringLiteral("N°"), this);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setMinimumWidth(60);
    m_numberCaption->setBuddy(Label2);
}

void CardWindowBase::placeCentred()
{
    adjustSize();
    centreOn800x600(this);
}

void CardWindowBase::setSwatchColor(const QColor& color)
{
    m_form->setSwatchColor(color);
}
