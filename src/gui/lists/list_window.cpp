#include "gui/lists/list_window.h"

#include "core/db/database.h"
#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
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
    // Homonyms differ by their place and number.
    m_list->cards()->setTipSource([this](long long n) {
        const tb::Database* db = m_ctx.session.database();
        if (!db)
            return QString();
        const tb::Result<CardRecord> card = db->store().read(n);
        return card ? tb::cardLineTip(*card, n) : QString();
    });
    layout->addWidget(m_list);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("NbFiches"));
    layout->addWidget(m_count);

    resize(760, 460);
    placeOnScreen(this, 12500);
}

void FFrance3::setList(tb::CardList list, tb::ListShown shown)
{
    m_count->setText(tb::listCountLine(list.size(), shown));
    m_count->setAccessibleName(m_count->text());
    m_list->cards()->setList(std::move(list));
    if (m_list->cards()->rowCount() > 0)
        m_list->setCurrentIndex(m_list->cards()->index(0));
    m_list->setFocus();
}

void FFrance3::hideEvent(QHideEvent* event)
{
    // A hidden list keeps no lines: the next list starts from nothing.
    m_list->cards()->setList({});
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
