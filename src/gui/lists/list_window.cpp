#include "gui/lists/list_window.h"

#include "core/db/database.h"
#include "core/db/selection_commands.h"
#include "core/db/session.h"
#include "core/external/launcher.h"
#include "gui/exchange/exchange_commands.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/lists/list_commands.h"
#include "gui/lists/list_printer.h"
#include "gui/widgets/card_list_view.h"
#include "gui/widgets/menu_builder.h"

#include <QAction>
#include <QLabel>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
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
    m_list->allowSeveralRows();
    connect(m_list, &CardListView::rowOpened, this, &FFrance3::openRow);
    m_list->cards()->setTipsFrom(m_ctx.session);
    layout->addWidget(m_list);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("NbFiches"));
    layout->addWidget(m_count);
    buildSelectionCommands(menuBar, layout);
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
    // Several lines selected: the window stays behind the card, with them.
    if (m_list->selectedRowCount() <= 1)
        hide();
}

void FFrance3::buildSelectionCommands(QMenuBar* menuBar, QBoxLayout* layout)
{
    QMenu* menu = addSubmenu(menuBar, "Selection", QStringLiteral("Sélection"));
    auto* buttons = new QHBoxLayout;
    const auto command = [&](const char* name, const QString& caption, auto handler) {
        QAction* action = addMenuEntry(menu, name, caption);
        connect(action, &QAction::triggered, this, handler);
        auto* button = new QPushButton(shownAsWritten(caption), this);
        button->setObjectName(QStringLiteral("Cmd") + QString::fromLatin1(name + 3));
        button->setAccessibleName(caption);
        connect(button, &QPushButton::clicked, this, handler);
        buttons->addWidget(button);
        return button;
    };
    command("SelEtiquettes", QStringLiteral("Étiquettes…"), [this] { emit labelsRequested(selectedCards(), listedCards()); });
    command("SelEnveloppes", QStringLiteral("Enveloppes…"), [this] { emit envelopesRequested(selectedCards(), listedCards()); });
    command("SelLettres", QStringLiteral("Lettres…"), [this] {
        if (!refuseWithoutSelection())
            emit lettersRequested(selectedCards());
    });
    // One menu of formats, in the menu bar and under its button.
    QMenu* formats = addSubmenu(menu, "SelExporter", QStringLiteral("Exporter…"));
    const std::pair<const char*, const char*> kinds[] = {
        {"SelVCard", "vCard…"}, {"SelCsv", "CSV…"}, {"SelOds", "Classeur ODS…"}};
    int format = 0;
    for (const auto& [name, caption] : kinds)
        connect(addMenuEntry(formats, name, QString::fromUtf8(caption)), &QAction::triggered, this,
                [this, f = format++] { exportSelection(f); });
    auto* exportButton = new QPushButton(QStringLiteral("Exporter…"), this);
    exportButton->setObjectName(QStringLiteral("CmdExporter"));
    exportButton->setAccessibleName(QStringLiteral("Exporter…"));
    exportButton->setMenu(formats);
    buttons->addWidget(exportButton);
    command("SelArchiver", QStringLiteral("Archiver"), [this] { archiveSelection(); });
    command("SelCourrier", QStringLiteral("Courrier électronique"), [this] { mailSelection(); });
    menu->addSeparator();
    QAction* all = addMenuEntry(menu, "SelTout", QStringLiteral("Tout sélectionner"));
    all->setShortcut(QKeySequence::SelectAll);
    connect(all, &QAction::triggered, m_list, &CardListView::selectAll);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    giveButtonsLetters(this);
}

QList<long long> FFrance3::selectedCards() const
{
    QList<long long> cards;
    for (int row : m_list->selectedRowsInOrder())
        if (const long long n = m_list->cards()->numberAt(row); n > 0)
            cards.append(n);
    return cards;
}

QList<long long> FFrance3::listedCards() const
{
    const tb::CardList& list = m_list->cards()->list();
    QList<long long> cards;
    cards.reserve(list.size());
    for (int row = 0; row < list.size(); ++row)
        cards.append(list.number(row));
    return cards;
}

bool FFrance3::refuseWithoutSelection()
{
    if (m_ctx.session.database() && m_list->selectedRowCount() > 0)
        return false;
    m_ctx.dialogs.message(QStringLiteral(" Aucune ligne n'est sélectionnée !"));
    return true;
}

void FFrance3::archiveSelection()
{
    if (refuseWithoutSelection())
        return;
    const QList<long long> cards = selectedCards();
    if (m_ctx.dialogs.question(QStringLiteral("Archiver les ") + QString::number(cards.size())
                                   + QStringLiteral(" fiche(s) sélectionnée(s) ?"),
                               QStringLiteral("Archivage"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    m_ctx.dialogs.setBusy(true);
    const tb::ArchiveOutcome outcome = tb::archiveCards(*m_ctx.session.database(), cards);
    m_ctx.dialogs.setBusy(false);
    m_ctx.dialogs.message(outcome.report());
}

void FFrance3::mailSelection()
{
    if (refuseWithoutSelection())
        return;
    const tb::Result<tb::BccMessage> mail = tb::bccMessage(*m_ctx.session.database(), selectedCards());
    if (!mail) {
        m_ctx.dialogs.showError(mail.error());
        return;
    }
    if (mail->addresses == 0) {
        m_ctx.dialogs.message(QStringLiteral(" Aucune des fiches sélectionnées n'a d'adresse électronique !"));
        return;
    }
    m_ctx.launcher.openUrl(mail->url);
    if (const QString report = mail->report(); !report.isEmpty())
        m_ctx.dialogs.message(report);
}

void FFrance3::exportSelection(int format)
{
    if (refuseWithoutSelection())
        return;
    const QList<long long> cards = selectedCards();
    exportCardsTo(m_ctx, ExchangeFormat(format), QSet<long long>(cards.begin(), cards.end()));
}

void FFrance3::print()
{
    printList(m_ctx.dialogs, m_list->lines());
}
