#include "gui/mail/sender_window.h"

#include "core/db/session.h"
#include "core/mail/sender_address.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/menu_builder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

FExpediteur::FExpediteur(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FExpediteur"), QStringLiteral("Expéditeur"));
    auto* label = new QLabel(QStringLiteral("&Adresse de l'expéditeur (6 lignes de 38 caractères au plus)"), this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setAccessibleName(QStringLiteral("Adresse de l'expéditeur"));
    m_text->setTabChangesFocus(true);
    label->setBuddy(m_text);
    m_save = new QPushButton(QStringLiteral("Enregistrer"), this);
    m_save->setObjectName(QStringLiteral("Command1"));
    m_save->setAccessibleName(m_save->text());
    m_cancel = new QPushButton(QStringLiteral("Annuler"), this);
    m_cancel->setObjectName(QStringLiteral("Command2"));
    m_cancel->setAccessibleName(m_cancel->text());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_save, &QPushButton::clicked, this, &FExpediteur::save);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::hide);
    giveButtonsLetters(this);
    resize(420, 260);
    placeOnScreen(this);
}

void FExpediteur::load()
{
    m_text->setPlainText(tb::readSenderAddress(m_ctx.session.programFolder()).join(u'\n'));
}

void FExpediteur::save()
{
    // A refused or failed write keeps the text typed.
    const tb::Status saved = tb::writeSenderAddress(m_ctx.session.programFolder(), m_text->toPlainText().split(u'\n'));
    if (!saved) {
        m_ctx.dialogs.showError(saved.error());
        return;
    }
    hide();
}
