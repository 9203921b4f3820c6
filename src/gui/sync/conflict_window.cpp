#include "gui/sync/conflict_window.h"

#include "core/base/number_text.h"
#include "core/cards/card_fields.h"
#include "core/exchange/field_merge.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/card_pair.h"
#include "gui/widgets/menu_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

FConflits::FConflits(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FConflits"), QStringLiteral("Fiche modifiée des deux côtés"));
    LabelFiche = new QLabel(this);
    LabelFiche->setObjectName(QStringLiteral("LabelFiche"));
    LabelFiche->setWordWrap(true);
    m_cards = new CardPair(QStringLiteral("Fiche dans la base"), "LabelIci", QStringLiteral("Contact du serveur"),
                           "LabelServeur", this);
    auto* mergeTitle = new QLabel(QStringLiteral("Pour fusionner, choisissez la version de chaque champ :"), this);
    m_rows = new QWidget;
    m_grid = new QGridLayout(m_rows);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("Champs"));
    scroll->setWidget(m_rows);
    scroll->setWidgetResizable(true);
    scroll->setMinimumHeight(120);

    QPushButton* here = makeWindowButton(this, "Command1", QStringLiteral("Garder celle-ci"));
    QPushButton* there = makeWindowButton(this, "Command2", QStringLiteral("Garder celle du serveur"));
    QPushButton* merge = makeWindowButton(this, "Command3", QStringLiteral("Fusionner"));
    QPushButton* later = makeWindowButton(this, "Command4", QStringLiteral("Décider plus tard"));
    CheckTous = new QCheckBox(QStringLiteral("Même choix pour toutes les fiches suivantes"), this);
    CheckTous->setObjectName(QStringLiteral("CheckTous"));
    CheckTous->setAccessibleName(CheckTous->text());

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {here, there, merge})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(later);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelFiche);
    layout->addWidget(m_cards);
    layout->addWidget(mergeTitle);
    layout->addWidget(scroll, 1);
    layout->addWidget(CheckTous);
    layout->addLayout(buttons);

    connect(here, &QPushButton::clicked, this, [this] { choose(tb::ConflictChoice::KeepHere); });
    connect(there, &QPushButton::clicked, this, [this] { choose(tb::ConflictChoice::KeepThere); });
    connect(merge, &QPushButton::clicked, this, [this] { choose(tb::ConflictChoice::Merge); });
    connect(later, &QPushButton::clicked, this, [this] { choose(tb::ConflictChoice::Undecided); });
    giveButtonsLetters(this);
    resize(680, 520);
    placeOnScreen(this, 12500);
}

void FConflits::setConflict(const tb::SyncConflict& conflict, const QStringList& captions)
{
    m_conflict = conflict;
    m_choice = tb::ConflictChoice::Undecided;
    LabelFiche->setText(QStringLiteral("« ") + tb::cardTitle(conflict.here, conflict.card)
                        + QStringLiteral(" » a été modifiée ici et sur le serveur depuis la dernière synchronisation."));
    m_cards->setTexts(cardFieldsText(conflict.here), cardFieldsText(conflict.there));

    while (QLayoutItem* item = m_grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_sides.clear();
    m_fields = tb::differingFields(conflict.here, conflict.there);
    int row = 0;
    for (tb::CardField k : m_fields) {
        const QString caption = k == tb::kFieldPosition ? QStringLiteral("Épingle") : captions.value(k - 2).trimmed();
        auto* label = new QLabel(caption, m_rows);
        auto* side = new QComboBox(m_rows);
        side->setObjectName(QStringLiteral("Combo1(%1)").arg(int(k)));
        side->setAccessibleName(caption);
        side->addItem(QStringLiteral("Ici : ") + conflict.here.field(k).trimmed());
        side->addItem(QStringLiteral("Serveur : ") + conflict.there.field(k).trimmed());
        label->setBuddy(side);
        m_grid->addWidget(label, row, 0);
        m_grid->addWidget(side, row, 1);
        m_sides.push_back(side);
        ++row;
    }
    m_grid->setColumnStretch(1, 1);
    m_grid->setRowStretch(row, 1);
}

void FConflits::choose(tb::ConflictChoice choice)
{
    m_choice = choice;
    hide();
}

tb::ConflictDecision FConflits::decision() const
{
    tb::ConflictDecision d;
    d.choice = m_choice;
    if (m_choice == tb::ConflictChoice::Merge) {
        std::vector<tb::CardField> fromThere;
        for (size_t i = 0; i < m_fields.size(); ++i)
            if (m_sides[i]->currentIndex() == 1)
                fromThere.push_back(m_fields[i]);
        d.merged = tb::withFieldsFrom(m_conflict.here, m_conflict.there, fromThere);
    }
    // "For all" goes with keeping one side; a merge is chosen card by card.
    d.forAll = CheckTous->isChecked()
               && (m_choice == tb::ConflictChoice::KeepHere || m_choice == tb::ConflictChoice::KeepThere);
    return d;
}
