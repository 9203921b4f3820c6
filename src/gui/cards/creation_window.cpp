#include "gui/cards/creation_window.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/db/program_folder.h"
#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/widgets/menu_builder.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QMessageBox>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

FFrance11::FFrance11(AppContext& ctx, QWidget* parent)
    : CardWindowBase(ctx, parent, QStringLiteral("FFrance11"), QStringLiteral("Création d'une fiche"),
                     {5, QStringLiteral("List1"), QStringLiteral("Label12")})
{
    QPushButton* command2 = makeButton(this, "Command2", QStringLiteral("Fonction calcul de la dette"));
    QPushButton* command3 = makeButton(this, "Command3", QStringLiteral("Valider la création de la fiche"));

    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    QAction* photo = addMenuEntry(m_menuBar, "photo", QStringLiteral("Incorporer une photo"));

    auto* body = new QVBoxLayout;
    body->addWidget(m_form, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command2);
    buttons->addStretch();
    buttons->addWidget(command3);

    connect(photo, &QAction::triggered, this, &FFrance11::choosePhoto);
    connect(command2, &QPushButton::clicked, this, &FFrance11::calculateDebt);
    connect(command3, &QPushButton::clicked, this, &FFrance11::validateCreation);
    connect(m_form, &CardFormWidget::departmentChosen, this, &FFrance11::rememberDepartment);

    finishLayout(m_menuBar, body, buttons, command3);
    setTabOrder(m_form->lastInTabOrder(), command2);
    setTabOrder(command2, command3);
    m_form->clearFields();
    m_form->clearCustomCaptions();
    m_form->loadCaptions();
    m_form->loadDepartments();
}

void FFrance11::prepare(long long n, const tb::PinField& pin)
{
    setShownNumber(n);
    // A new card starts with no photo and no civility.
    m_form->clearPhoto();
    m_photo.clear();
    m_form->setPin(pin);
    m_form->loadCaptions();
    m_form->firstInTabOrder()->setFocus();
}

void FFrance11::startAt(int departmentRow, const QString& postalCode)
{
    m_form->showDepartment(departmentRow);
    if (!postalCode.isEmpty())
        m_form->takePostalCode(postalCode);
}

bool FFrance11::hasUnsavedEdits() const
{
    // Field 1 (the marker and the point) is the program's, not typed.
    const CardFormWidget::Texts texts = m_form->texts();
    return !m_photo.isEmpty() || std::any_of(texts.begin() + 1, texts.end(), [](const QString& t) { return !t.trimmed().isEmpty(); });
}

bool FFrance11::settleEdits()
{
    return m_ctx.dialogs.question(QStringLiteral(" Abandonner la création de cette fiche ? "), QStringLiteral("Tabulon"),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Question)
           == QMessageBox::Yes;
}

void FFrance11::rememberDepartment(int index)
{
    if (tb::Status s = tb::setCurrentDepartment(m_ctx.session.programFolder(), index); !s)
        showError(s.error());
}

void FFrance11::choosePhoto()
{
    const long long n = shownNumber();
    if (m_ctx.session.database() && n >= 1)
        emit photoRequested(n);
}

void FFrance11::takePhoto(const QString& path)
{
    tb::Result<QByteArray> bytes = tb::readFile(path);
    if (!bytes) {
        showError(bytes.error());
        return;
    }
    m_photo = std::move(bytes).value();
    m_form->showPhoto(m_photo);
}

void FFrance11::hideEvent(QHideEvent* event)
{
    CardWindowBase::hideEvent(event);
    if (event->spontaneous())
        return;
    // Given up or created: nothing of it stays past the count.
    m_photo.clear();
    if (tb::Database* db = m_ctx.session.database())
        db->abandonCreation().ok();
}

void FFrance11::calculateDebt()
{
    m_form->computeDebt(false);
    tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    if (tb::Status s = db->storeCard(shownNumber(), typedCard()); !s)
        showError(s.error());
}

void FFrance11::validateCreation()
{
    tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    if (shownNumber() < 1) {
        // A card number of 0 would overwrite the first card.
        m_ctx.dialogs.message(QStringLiteral(" Cette fiche n'a pas de numéro : elle n'est pas enregistrée."));
        return;
    }
    tb::Result<long long> created = db->createCards({typedCard()}, {m_photo});
    if (!created) {
        // The window stays open with what the user typed.
        showError(created.error());
        return;
    }
    m_ctx.session.announce(QStringLiteral(" Fiche n° ") + tb::plainNumber(*created) + QStringLiteral(" enregistrée."));
    m_form->clearFields();
    m_form->clearPhoto();
    hide();
}
