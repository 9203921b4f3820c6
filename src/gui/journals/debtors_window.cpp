#include "gui/journals/debtors_window.h"

#include "core/db/database.h"
#include "core/db/session.h"
#include "core/journals/debtors.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/lists/list_printer.h"
#include "gui/widgets/card_list_model.h"
#include "gui/widgets/text_tools.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QItemSelectionModel>
#include <QVBoxLayout>
#include <algorithm>

FDebiteurs::FDebiteurs(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FDebiteurs"), QStringLiteral("Liste des débiteurs"));
    m_model = new CardListModel(this);
    m_model->setTipsFrom(m_ctx.session);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(QStringLiteral("Débiteurs"));
    m_list->setModel(m_model);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setUniformItemSizes(true);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_list->setFont(fixed);
    m_model->setRowFont(fixed);
    auto* heading = new QLabel(tb::debtorHeading(), this);
    heading->setObjectName(QStringLiteral("Label2"));
    heading->setFont(fixed);
    heading->setBuddy(m_list);
    heading->setContentsMargins(m_list->frameWidth() + 4, 0, 0, 0);
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("Label1"));
    m_total->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    QPushButton* print = toolButton(this, "Command1", QStringLiteral("Imprimer"));
    QPushButton* letters = toolButton(this, "Command2", QStringLiteral("Lettres…"),
                                       QStringLiteral("Une lettre pour chaque ligne choisie (toutes quand aucune ne l'est)"));
    QPushButton* close = toolButton(this, "Command3", QStringLiteral("Fermer"));
    connect(print, &QPushButton::clicked, this, &FDebiteurs::print);
    connect(letters, &QPushButton::clicked, this, [this] {
        if (const QList<long long> cards = chosenCards(); !cards.isEmpty())
            emit lettersRequested(cards);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list, &QListView::activated, this,
            [this](const QModelIndex& index) { emit cardChosen(m_model->numberAt(index.row())); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(letters);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_total);
    layout->addLayout(buttons);
    resize(760, 440);
    placeOnScreen(this, 12500);

    // Payments recorded meanwhile (a card opened from here) show at once.
    if (const tb::Database* db = m_ctx.session.database()) {
        connect(db, &tb::Database::cardStored, this, &FDebiteurs::refresh);
        connect(db, &tb::Database::countChanged, this, &FDebiteurs::refresh);
        connect(db, &tb::Database::cardsRenumbered, this, &FDebiteurs::refresh);
    }
    refresh();
    m_list->setFocus();
}

void FDebiteurs::refresh()
{
    const tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    m_ctx.dialogs.setBusy(true);
    const tb::Result<tb::DebtorList> debtors = tb::debtorList(*db);
    m_ctx.dialogs.setBusy(false);
    if (!debtors) {
        m_ctx.dialogs.showError(debtors.error());
        return;
    }
    const int row = m_list->currentIndex().row();
    tb::CardList list;
    for (const tb::Debtor& d : debtors->debtors)
        list.add(tb::debtorText(d), d.number);
    list.markSorted();
    m_model->setList(std::move(list));
    m_total->setText(debtors->debtors.empty() ? QStringLiteral("Aucune fiche active n'a de reste dû.")
                                              : tb::debtorTotalText(*debtors));
    m_list->setAccessibleDescription(m_total->text());
    if (m_model->rowCount() > 0)
        // Current without being chosen: "Lettres…" goes to all until lines are chosen.
        m_list->selectionModel()->setCurrentIndex(m_model->index(std::clamp(row, 0, m_model->rowCount() - 1)),
                                                  QItemSelectionModel::NoUpdate);
}

QList<long long> FDebiteurs::chosenCards() const
{
    QModelIndexList rows = m_list->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<long long> cards;
    for (const QModelIndex& index : rows)
        cards.append(m_model->numberAt(index.row()));
    if (cards.isEmpty())
        for (int row = 0; row < m_model->rowCount(); ++row)
            cards.append(m_model->numberAt(row));
    return cards;
}

void FDebiteurs::print()
{
    QStringList lines{tb::debtorHeading()};
    lines << m_model->list().displayLines() << QString() << m_total->text();
    printList(m_ctx.dialogs, lines);
}
