#include "gui/cards/creation_window.h"

#include "gui/app/dialogs.h"
#include "gui/app/main_window.h"
#include "gui/app/windows.h"
#include "core/base/number_text.h"
#include "core/base/numeric.h"
#include "core/base/value_files.h"
#include "core/cards/card_creation.h"
#include "gui/widgets/card_form.h"
#include "core/cards/card_store.h"
#include "gui/cards/card_window.h"
#include "gui/map/file_browser_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

FFrance11::FFrance11(AppContext& ctx, QWidget* parent)
    : CardWindowBase(ctx, parent, QStringLiteral("FFrance11"), QStringLiteral("Création d'une fiche"),
                     {5, QStringLiteral("List1"), QStringLiteral("Label12")})
{
    Label12 = m_form->markerCaption;
    List1 = m_form->communes;

    Command2 = new QPushButton(QStringLiteral("Fonction calcul de la dette"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(QStringLiteral("Valider la création de la fiche"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    for (QPushButton* b : {Command2, Command3}) {
        b->setAccessibleName(b->text());
        b->setAutoDefault(false);
    }

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    photo = menuBar->addAction(QStringLiteral("Incorporer une photo"));
    photo->setObjectName(QStringLiteral("photo"));

    auto* header = new QHBoxLayout;
    header->addWidget(Label3);
    header->addStretch();
    header->addWidget(m_numberCaption);
    header->addWidget(Label2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addStretch();
    buttons->addWidget(Command3);
    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(menuBar);
    outer->addLayout(header);
    outer->addWidget(m_form, 1);
    outer->addLayout(buttons);

    connect(photo, &QAction::triggered, this, &FFrance11::choosePhoto);
    connect(Command2, &QPushButton::clicked, this, &FFrance11::calculateDebt);
    connect(Command3, &QPushButton::clicked, this, &FFrance11::validateCreation);
    connect(m_form, &CardFormWidget::departmentChosen, this, &FFrance11::rememberDepartment);

    // Opening steps.
    placeCentred();
    QDir::setCurrent(m_ctx.values.programFolder());
    m_form->clearFields();
    m_form->clearCustomCaptions();
    m_form->paintSwatchFromMarker();
    if (m_ctx.windows)
        m_ctx.windows->refreshSwatches();
    m_form->loadCaptions();
    m_form->loadDepartments();
}

void FFrance11::rememberDepartment(int index)
{
    QDir::setCurrent(m_ctx.values.programFolder());
    tb::writeQuotedLines(m_ctx.values.programFile(QStringLiteral("DeptCourant.txt")), {QString::number(index)});
}

void FFrance11::drawPins()
{
    if (m_ctx.main)
        m_ctx.main->drawPins();
    // Reading the records arms the card window's photo timer as its own
    // reading does.
    if (m_ctx.windows) {
        if (FFrance4* card = m_ctx.windows->existingCardWindow())
            card->armPhotoTimer();
    }
}

void FFrance11::choosePhoto()
{
    const long long n = tb::numericInteger(Label2->text());
    if (m_ctx.windows) {
        Ffrance23* browser = m_ctx.windows->fileBrowser();
        browser->prepare(QStringLiteral("*.jpg"), false, QStringLiteral("photo") + tb::plainNumber(n));
        m_ctx.dialogs.showModal(browser);
    }
    m_form->loadCardPhoto(n);
}

void FFrance11::calculateDebt()
{
    m_form->computeDebt(false);
    if (!m_ctx.values.hasDatabase())
        return;
    if (tb::writeCardTexts(CardStore(m_ctx.values.Label2), tb::numericInteger(Label2->text()), m_form->texts()))
        drawPins();
}

void FFrance11::validateCreation()
{
    const long long n = tb::numericInteger(Label2->text());
    if (!m_ctx.values.hasDatabase())
        return;
    if (n < 1) {
        // A card number of 0 would overwrite the first card.
        m_ctx.dialogs.message(QStringLiteral(" Cette fiche n'a pas de numéro : elle n'est pas enregistrée."));
        return;
    }
    auto texts = m_form->texts();
    tb::createCard(CardStore(m_ctx.values.Label2), n, texts, m_ctx.values.Label6);
    Text1[2]->setText(texts[2]);
    drawPins();
    m_form->clearFields();
    hide();
}

void FFrance11::closeEvent(QCloseEvent* event)
{
    drawPins();
    QWidget::closeEvent(event);
}
