#include "gui/cards/card_window_base.h"

#include "core/base/number_text.h"
#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"

#include <QGuiApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kUnsaved = QStringLiteral(" Modifications non enregistrées.");
}

CardWindowBase::CardWindowBase(AppContext& ctx, QWidget* parent, const QString& objectName, const QString& heading,
                               const CardFormWidget::Names& names)
    : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, objectName, QStringLiteral("Fiche individuelle"));
    m_form = new CardFormWidget(m_ctx, names, this);

    m_heading = new QLabel(heading, this);
    m_heading->setObjectName(QStringLiteral("Label3"));
    QFont font = m_heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    m_heading->setFont(font);
    m_numberCaption = new QLabel(QStringLiteral("N°"), this);
    m_numberLabel = new QLabel(this);
    m_numberLabel->setObjectName(QStringLiteral("Label2"));
    m_numberLabel->setMinimumWidth(60);
    m_numberCaption->setBuddy(m_numberLabel);

    m_header = new QHBoxLayout;
    m_header->addWidget(m_heading);
    m_header->addStretch();
    m_header->addWidget(m_numberCaption);
    m_header->addWidget(m_numberLabel);

    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("StatusLine"));
    m_statusLine->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_statusTimer = new QTimer(this);
    m_statusTimer->setSingleShot(true);
    connect(m_statusTimer, &QTimer::timeout, this, [this] {
        m_statusLine->clear();
        followEdits();
    });
    // Every typed change and every card shown tell whether edits are pending.
    for (QLineEdit* field : m_form->findChildren<QLineEdit*>())
        connect(field, &QLineEdit::textChanged, this, &CardWindowBase::followEdits);
    connect(m_form, &CardFormWidget::pinChanged, this, &CardWindowBase::followEdits);
}

void CardWindowBase::followEdits()
{
    // An acknowledgement keeps the line until its time is up.
    if (m_statusTimer->isActive())
        return;
    const bool unsaved = hasUnsavedEdits();
    if (unsaved)
        m_statusLine->setText(kUnsaved);
    else if (m_statusLine->text() == kUnsaved)
        m_statusLine->clear();
}

void CardWindowBase::closeEvent(QCloseEvent* event)
{
    if (isVisible() && hasUnsavedEdits() && !settleEdits()) {
        event->ignore();
        // Still open: the next opening uses this window.
        setProperty(kClosedProperty, false);
        return;
    }
    QWidget::closeEvent(event);
}

QPushButton* CardWindowBase::makeButton(QWidget* parent, const char* name, const QString& caption)
{
    return makeWindowButton(parent, name, caption);
}

void CardWindowBase::finishLayout(QWidget* menuBar, QLayout* body, QLayout* buttons, QPushButton* confirm)
{
    m_confirm = confirm;
    QScrollArea* scroll = scrollingBody(body);

    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(menuBar);
    outer->addLayout(m_header);
    outer->addWidget(scroll, 1);
    outer->addLayout(buttons);
    outer->addWidget(m_statusLine);

    // The whole content where the screen allows it; scrolled where it does not.
    const QSize want = wholeSize(scroll) + QSize(24,
                                                   m_heading->sizeHint().height() + menuBar->sizeHint().height()
                                                       + m_statusLine->sizeHint().height() + 90);
    resize(want);
    placeOnScreen(this);
}

void CardWindowBase::setShownNumber(long long n)
{
    m_number = n;
    m_numberLabel->setText(tb::plainNumber(n));
}

CardRecord CardWindowBase::typedCard() const
{
    return CardRecord::fromTexts(m_form->texts());
}

void CardWindowBase::requestAttachment(tb::Attachment kind)
{
    if (m_ctx.session.database() && m_number >= 1)
        emit attachmentRequested(kind, m_number);
}

void CardWindowBase::acknowledge(const QString& text, int ms)
{
    m_statusLine->setText(text);
    m_statusTimer->start(ms);
}

void CardWindowBase::showError(const tb::Error& error)
{
    m_ctx.dialogs.showError(error);
}

void CardWindowBase::keyPressEvent(QKeyEvent* event)
{
    // Return in a field confirms the card, as the window's default button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_confirm && qobject_cast<QLineEdit*>(focusWidget())) {
        m_confirm->click();
        return;
    }
    QWidget::keyPressEvent(event);
}
