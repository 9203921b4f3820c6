#include "gui/journals/journal_window_base.h"

#include "core/db/session.h"
#include "core/journals/journal_dates.h"
#include "gui/app/dialogs.h"
#include "gui/app/help_pages.h"
#include "gui/app/secondary_window.h"
#include "gui/lists/list_printer.h"

#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

JournalWindowBase::JournalWindowBase(AppContext& ctx, QWidget* parent, tb::JournalKind kind, const Texts& texts)
    : QWidget(parent, Qt::Window), m_ctx(ctx), m_kind(kind), m_texts(texts)
{
    setUpSecondaryWindow(this, QString::fromLatin1(texts.objectName), texts.caption);
    m_fields = new QGridLayout;
    m_displays = new QGridLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(texts.listHeading);
    // Entries can be long: they scroll rather than wrap, as they are stored.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(caption);
        b->setAutoDefault(false);
        m_buttons.append(b);
        return b;
    };
    connect(button("Command1", texts.recordCaption), &QPushButton::clicked, this, [this] { record(); });
    connect(button("Command2", texts.deleteCaption), &QPushButton::clicked, this, &JournalWindowBase::deleteSelected);
    connect(button("Command3", QStringLiteral("Imprimer")), &QPushButton::clicked, this, &JournalWindowBase::print);
    if (texts.today)
        connect(button("Command4", QStringLiteral("Date du jour")), &QPushButton::clicked, this,
                &JournalWindowBase::fillToday);
}

QLineEdit* JournalWindowBase::addField(const char* labelName, const char* editName, const QString& caption)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(labelName));
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(editName));
    edit->setAccessibleName(caption);
    label->setBuddy(edit);
    m_edits.append(edit);
    const int row = m_fields->rowCount();
    m_fields->addWidget(label, row, 0);
    m_fields->addWidget(edit, row, 1);
    return edit;
}

QLabel* JournalWindowBase::addDisplay(const char* labelName, const char* valueName, const QString& caption)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(labelName));
    auto* value = new QLabel(this);
    value->setObjectName(QString::fromLatin1(valueName));
    // Heard by its value, the caption after it.
    value->setAccessibleDescription(caption);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setMinimumWidth(120);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int row = m_displays->rowCount();
    m_displays->addWidget(label, row, 0);
    m_displays->addWidget(value, row, 1);
    return value;
}

void JournalWindowBase::finishLayout(QLineEdit* dateField)
{
    m_dateField = dateField;
    auto* heading = new QLabel(m_texts.listHeading, this);
    heading->setObjectName(QStringLiteral("Label11"));
    heading->setBuddy(m_list);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto* top = new QHBoxLayout;
    top->addLayout(m_fields, 1);
    top->addSpacing(16);
    top->addLayout(m_displays);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : m_buttons)
        buttons->addWidget(b);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->addWidget(heading);
    layout->addWidget(m_list, 1);
    // Reading order: the fields, the buttons, then the entries.
    QList<QWidget*> order = m_edits;
    for (QPushButton* b : m_buttons)
        order.append(b);
    order.append(m_list);
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    if (!m_edits.isEmpty())
        m_edits.first()->setFocus();
    resize(820, 520);
    placeOnScreen(this, 12500);
}

bool JournalWindowBase::openJournal(long long n, const CardRecord& card)
{
    tb::Database* db = m_ctx.session.database();
    if (!db)
        return false;
    tb::Result<tb::Journal> journal = tb::Journal::open(*db, n, m_kind, card);
    if (!journal) {
        m_ctx.dialogs.showError(journal.error());
        return false;
    }
    m_journal = std::move(journal).value();
    showEntries();
    return true;
}

void JournalWindowBase::showEntries()
{
    m_list->clear();
    if (m_journal)
        m_list->addItems(m_journal->entries());
}

bool JournalWindowBase::addEntry(const QString& line)
{
    if (!m_journal)
        return false;
    if (tb::Status s = m_journal->add(line); !s) {
        refuse(s.error());
        return false;
    }
    m_list->addItem(m_journal->entries().last());
    m_list->scrollToBottom();
    showTotals();
    return true;
}

void JournalWindowBase::refuse(const tb::Error& error)
{
    m_ctx.dialogs.showError(error);
}

void JournalWindowBase::deleteSelected()
{
    if (!m_journal)
        return;
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    const int row = selected.isEmpty() ? -1 : m_list->row(selected.first());
    const QString text = row < 0 ? QString() : selected.first()->text();
    const QMessageBox::StandardButton answer = m_ctx.dialogs.question(
        QStringLiteral("Souhaitez-vous SUPPRIMER cette ligne ") + text, m_texts.deletionTitle,
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Critical, helpPageOf(this));
    if (answer != QMessageBox::Yes)
        return;
    if (tb::Status s = m_journal->remove(row); !s) {
        refuse(s.error());
        return;
    }
    showEntries();
    showTotals();
}

void JournalWindowBase::print()
{
    if (!m_journal)
        return;
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<tb::ListPrintStyle> style = choosePrintStyle(m_ctx.dialogs, printer);
    if (!style)
        return;
    const QStringList lines
        = tb::journalPrintLines(m_journal->entries(), m_journal->card(), m_kind, QDate::currentDate());
    const auto draw = [&](QPrinter& onto) { tb::printLinePages(onto, lines, *style); };
    if (!m_ctx.dialogs.previewPrint(printer, draw))
        return;
    m_ctx.dialogs.setBusy(true);
    draw(printer);
    m_ctx.dialogs.setBusy(false);
}

void JournalWindowBase::fillToday()
{
    if (m_dateField)
        m_dateField->setText(tb::journalDateText(QDate::currentDate()));
}

void JournalWindowBase::closeEvent(QCloseEvent* event)
{
    // The card as the card window held it; every entry was stored already.
    if (m_journal)
        if (tb::Status s = m_journal->storeCard(); !s)
            m_ctx.dialogs.showError(s.error());
    QWidget::closeEvent(event);
}
