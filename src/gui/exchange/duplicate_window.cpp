#include "gui/exchange/duplicate_window.h"

#include "core/cards/card_fields.h"
#include "core/base/number_text.h"
#include "gui/app/secondary_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The filled fields of a card, one per line, under their captions.
QString cardText(const CardRecord& card)
{
    const QStringList captions = tb::fixedFieldCaptions();
    QStringList lines;
    for (tb::CardField k = tb::kFieldCivility; k < tb::kFieldFirstCustom; ++k)
        if (!card.field(k).trimmed().isEmpty())
            lines << captions[k - 2].trimmed() + QStringLiteral(" : ") + card.field(k).trimmed();
    return lines.join(u'\n');
}

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
    LabelImport = new QLabel(this);
    LabelImport->setObjectName(QStringLiteral("LabelImport"));
    LabelExistante = new QLabel(this);
    LabelExistante->setObjectName(QStringLiteral("LabelExistante"));
    for (QLabel* l : {LabelImport, LabelExistante}) {
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        l->setMinimumWidth(260);
    }
    CommandIgnorer = makeButton(this, "CommandIgnorer", QStringLiteral("Ignorer"));
    CommandCreer = makeButton(this, "CommandCreer", QStringLiteral("Créer quand même"));
    CommandCompleter = makeButton(this, "CommandCompleter", QStringLiteral("Compléter la fiche existante"));
    CheckTous = new QCheckBox(QStringLiteral("Même choix pour tous les doublons suivants"), this);
    CheckTous->setObjectName(QStringLiteral("CheckTous"));
    CheckTous->setAccessibleName(CheckTous->text());

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Fiche à importer"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Fiche déjà dans la base"), this), 0, 1);
    grid->addWidget(LabelImport, 1, 0);
    grid->addWidget(LabelExistante, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandIgnorer);
    buttons->addWidget(CommandCreer);
    buttons->addWidget(CommandCompleter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelRegle);
    layout->addLayout(grid);
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
    LabelImport->setText(cardText(incoming));
    LabelExistante->setText(QStringLiteral("Fiche n° ") + tb::plainNumber(existing) + u'\n' + cardText(existingCard));
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
