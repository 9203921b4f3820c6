#include "gui/cards/trash_window.h"

#include "core/base/number_text.h"
#include "core/db/session.h"
#include "core/db/trash.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

FCorbeille::FCorbeille(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FCorbeille"), QStringLiteral("Corbeille"));
    m_list = makeRowList(this, QStringLiteral("Fiches supprimées"),
                         {QStringLiteral("Nom"), QStringLiteral("Ville"), QStringLiteral("Supprimée le")}, 0);
    m_restore = makeWindowButton(this, "Command1", QStringLiteral("Restaurer"));
    m_purge = makeWindowButton(this, "Command2", QStringLiteral("Supprimer définitivement"));
    m_empty = makeWindowButton(this, "Command3", QStringLiteral("Vider la corbeille"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_restore);
    buttons->addWidget(m_purge);
    buttons->addStretch();
    buttons->addWidget(m_empty);
    layout->addLayout(buttons);

    connect(m_restore, &QPushButton::clicked, this, &FCorbeille::restore);
    connect(m_list, &QTreeWidget::itemActivated, this, &FCorbeille::restore);
    connect(m_purge, &QPushButton::clicked, this, &FCorbeille::purgeChosen);
    connect(m_empty, &QPushButton::clicked, this, &FCorbeille::emptyTrash);
    resize(560, 360);
    placeOnScreen(this);
    refresh();
}

void FCorbeille::refresh()
{
    m_list->clear();
    const tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    const auto entries = db->trash().entries();
    if (!entries)
        m_ctx.dialogs.showError(entries.error());
    for (const tb::TrashEntry& e : entries ? *entries : std::vector<tb::TrashEntry>{}) {
        auto* item = new QTreeWidgetItem(m_list, {(e.card.field(tb::kFieldSurname).trimmed() + u' ' + e.card.field(tb::kFieldFirstNames).trimmed()),
                                                  e.card.field(tb::kFieldCity).trimmed(), tb::deletionDay(e.deleted)});
        item->setData(0, Qt::UserRole, e.number);
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    const bool any = m_list->topLevelItemCount() > 0;
    for (QPushButton* b : {m_restore, m_purge, m_empty})
        b->setEnabled(any);
}

int FCorbeille::chosenEntry() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

bool FCorbeille::confirm(const QString& question)
{
    return m_ctx.dialogs.question(question, QStringLiteral("Corbeille"), QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No, QMessageBox::Question)
           == QMessageBox::Yes;
}

void FCorbeille::restore()
{
    tb::Database* db = m_ctx.session.database();
    const int entry = chosenEntry();
    if (!db || entry < 1)
        return;
    const tb::Result<long long> n = db->restoreFromTrash(entry);
    if (!n) {
        m_ctx.dialogs.showError(n.error());
        return;
    }
    m_ctx.session.announce(QStringLiteral(" Fiche n° ") + tb::plainNumber(*n) + QStringLiteral(" restaurée."));
    refresh();
}

void FCorbeille::purgeChosen()
{
    const tb::Database* db = m_ctx.session.database();
    const int entry = chosenEntry();
    if (!db || entry < 1 || !confirm(QStringLiteral(" Supprimer définitivement cette fiche de la corbeille ? ")))
        return;
    if (tb::Status s = db->trash().remove(entry); !s)
        m_ctx.dialogs.showError(s.error());
    refresh();
}

void FCorbeille::emptyTrash()
{
    const tb::Database* db = m_ctx.session.database();
    if (!db || !confirm(QStringLiteral(" Vider la corbeille ? Les fiches qu'elle contient seront perdues. ")))
        return;
    if (tb::Status s = db->trash().empty(); !s)
        m_ctx.dialogs.showError(s.error());
    refresh();
}
