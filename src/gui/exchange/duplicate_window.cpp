#include "gui/exchange/duplicate_window.h"

#include "core/base/number_text.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/card_pair.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(caption);
    return b;
}

}  // namespace

FDoublon::FDoublon(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FDoublon"), QStringLiteral("Fiche déjà présente"));
    // Sized for the longest of the rules' texts.
    LabelRegle = new QLabel(QStringLiteral("Une fiche de ") + tb::duplicateRuleText(tb::DuplicateRule::Names)
                                + QStringLiteral(" existe déjà."),
                            this);
    LabelRegle->setObjectName(QStringLiteral("LabelRegle"));
    m_cards = new CardPair(QStringLiteral("Fiche à importer"), "LabelImport", QStringLiteral("Fiche déjà dans la base"),
                           "LabelExistante", this);
    CommandIgnorer = makeButton(this, "CommandIgnorer", QStringLiteral("Ignorer"));
    CommandCreer = makeButton(this, "CommandCreer", QStringLiteral("Créer quand même"));
    CommandCompleter = makeButton(this, "CommandCompleter", QStringLiteral("Compléter la fiche existante"));
    CheckTous = new QCheckBox(QStringLiteral("Même choix pour tous les doublons suivants"), this);
    CheckTous->setObjectName(QStringLiteral("CheckTous"));
    CheckTous->setAccessibleName(CheckTous->text());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandIgnorer);
    buttons->addWidget(CommandCreer);
    buttons->addWidget(CommandCompleter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelRegle);
    layout->addWidget(m_cards);
    layout->addWidget(CheckTous);
    layout->addLayout(buttons);

    connect(CommandIgnorer, &QPushButton::clicked, this, [this] { choose(tb::DuplicateChoice::Skip); });
    connect(CommandCreer, &QPushButton::clicked, this, [this] { choose(tb::DuplicateChoice::Create); });
    connect(CommandCompleter, &QPushButton::clicked, this, [this] { choose(tb::DuplicateChoice::Fill); });
    resize(sizeHint());
    placeOnScreen(this);
}

void FDoublon::setCards(const CardRecord& incoming, long long existing, const CardRecord& existingCard,
                        tb::DuplicateRule rule)
{
    m_choice = tb::DuplicateChoice::Skip;
    LabelRegle->setText(QStringLiteral("Une fiche de ") + tb::duplicateRuleText(rule) + QStringLiteral(" existe déjà."));
    m_cards->setTexts(cardFieldsText(incoming),
                      QStringLiteral("Fiche n° ") + tb::plainNumber(existing) + u'\n' + cardFieldsText(existingCard));
}

void FDoublon::choose(tb::DuplicateChoice choice)
{
    m_choice = choice;
    hide();
}

tb::DuplicateDecision FDoublon::decision() const
{
    return {m_choice, CheckTous->isChecked()};
}
