#include "gui/lists/list_window.h"

#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/lists/list_commands.h"
#include "gui/lists/list_printer.h"
#include "gui/widgets/card_list_view.h"
#include "gui/widgets/menu_builder.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

FFrance3::FFrance3(AppContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, QStringLiteral("FFrance3"), QStringLiteral("Liste"));

    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    QAction* print = addMenuEntry(menuBar, "Imprim3", QStringLiteral("Imprimer"));
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &FFrance3::print);
    layout->setMenuBar(menuBar);

    m_list = new CardListView(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(QStringLiteral("Liste"));
    connect(m_list, &CardListView::rowOpened, this, &FFrance3::openRow);
    m_list->cards()->setTipsFrom(m_ctx.session);
    layout->addWidget(m_list);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("NbFiches"));
    layout->addWidget(m_count);
    // The lines follow the cards of the database open, whichever it is.
    connect(&m_ctx.session, &tb::Session::databaseChanged, this, [this] {
        setList({}, m_shown);
        followDatabase();
    });
    followDatabase();
    connect(m_list->cards(), &CardListModel::filled, this, [this](const tb::Status& status) {
        if (!status)
            m_ctx.dialogs.showError(status.error());
    });
    // The count line follows the rows as the list fills.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_list->cards(), signal, this, &FFrance3::showCount);
    connect(m_list->cards(), &QAbstractItemModel::modelReset, this, &FFrance3::showCount);

    resize(760, 460);
    placeOnScreen(this, 12500);
}

void FFrance3::setList(tb::CardList list, tb::ListShown shown)
{
    m_kind.reset();
    m_shown = shown;
    m_list->cards()->setList(std::move(list));
    showCount();
    showFirstRow();
}

void FFrance3::fillList(std::shared_ptr<tb::ListFill> fill, tb::ListShown shown)
{
    m_kind = fill->kind();
    m_shown = shown;
    m_list->cards()->fill(std::move(fill));
    showCount();
    showFirstRow();
}

void FFrance3::showCount()
{
    m_count->setText(tb::listCountLine(m_list->cards()->rowCount(), m_shown));
    m_count->setAccessibleName(m_count->text());
}

void FFrance3::showFirstRow()
{
    if (m_list->cards()->rowCount() > 0)
        m_list->setCurrentIndex(m_list->cards()->index(0));
    m_list->setFocus();
}

void FFrance3::followDatabase()
{
    tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    connect(db, &tb::Database::cardStored, this, &FFrance3::followCard, Qt::UniqueConnection);
    // Cards renumbered: the list is made again.
    connect(db, &tb::Database::cardsRenumbered, this, &FFrance3::refill, Qt::UniqueConnection);
}

void FFrance3::refill()
{
    const tb::Database* db = m_ctx.session.database();
    if (!m_kind || !db)
        return;
    tb::Result<std::shared_ptr<tb::ListFill>> fill = db->fillList(*m_kind, kFirstRows);
    if (!fill) {
        m_ctx.dialogs.showError(fill.error());
        return;
    }
    const long long current = m_list->cards()->numberAt(m_list->currentIndex().row());
    m_list->cards()->fill(std::move(fill).value());
    const int row = m_list->cards()->list().rowOf(current);
    m_list->setCurrentIndex(m_list->cards()->index(std::max(0, row)));
}

void FFrance3::followCard(long long n)
{
    const tb::Database* db = m_ctx.session.database();
    if (!m_kind || !db || n < 1 || n > db->count())
        return;
    const tb::Result<CardRecord> card = db->card(n);
    if (!card)
        return;
    m_list->cards()->follow(n, tb::listLine(QByteArrayView(card->toBytes()), *m_kind, tb::ListOrder::Line));
}

void FFrance3::hideEvent(QHideEvent* event)
{
    // A hidden list keeps no lines: the next list starts from nothing.
    setList({}, m_shown);
    m_count->clear();
    QWidget::hideEvent(event);
}

void FFrance3::openRow(int row)
{
    const long long n = m_list->cards()->numberAt(row);
    if (n == 0) {
        m_ctx.dialogs.message(QStringLiteral("Erreur! aucune fiche sur cette ligne !"));
        return;
    }
    emit cardChosen(n);
    hide();
}

void FFrance3::print()
{
    printList(m_ctx.dialogs, m_list->lines());
}
