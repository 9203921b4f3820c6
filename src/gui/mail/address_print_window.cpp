#include "gui/mail/address_print_window.h"

#include "core/base/number_text.h"
#include "core/db/session.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/menu_builder.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

AddressPrintWindow::AddressPrintWindow(AppContext& ctx, QWidget* parent, const QString& objectName,
                                       const QString& caption)
    : QWidget(parent, Qt::Window), m_ctx(ctx)
{
    setUpSecondaryWindow(this, objectName, caption);
    m_form = new QFormLayout;
    m_selection = new QRadioButton(this);
    m_selection->setObjectName(QStringLiteral("Option1"));
    m_whole = new QRadioButton(this);
    m_whole->setObjectName(QStringLiteral("Option2"));
    m_archived = new QCheckBox(QStringLiteral("Fiches archivées comprises"), this);
    m_archived->setObjectName(QStringLiteral("Check1"));
    m_archived->setAccessibleName(m_archived->text());
    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("Text1"));
    m_report->setAccessibleName(QStringLiteral("Lignes coupées"));
    m_report->setReadOnly(true);
    m_report->setPlaceholderText(QStringLiteral("Les lignes trop longues (plus de 38 caractères) seront signalées ici avant l'impression."));
    m_print = new QPushButton(QStringLiteral("Imprimer…"), this);
    m_print->setObjectName(QStringLiteral("Command1"));
    m_print->setAccessibleName(m_print->text());
    m_close = new QPushButton(QStringLiteral("Fermer"), this);
    m_close->setObjectName(QStringLiteral("Command2"));
    m_close->setAccessibleName(m_close->text());
    connect(m_print, &QPushButton::clicked, this, &AddressPrintWindow::print);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
}

void AddressPrintWindow::finishLayout()
{
    // The choices scroll on a small screen; the buttons stay in view.
    auto* body = new QVBoxLayout;
    body->addLayout(m_form);
    auto* cards = new QGroupBox(QStringLiteral("Fiches"));
    auto* cardsLayout = new QVBoxLayout(cards);
    cardsLayout->addWidget(m_selection);
    cardsLayout->addWidget(m_whole);
    cardsLayout->addWidget(m_archived);
    body->addWidget(cards);
    auto* reportLabel = new QLabel(QStringLiteral("Lignes coupées"));
    reportLabel->setBuddy(m_report);
    body->addWidget(reportLabel);
    m_report->setMinimumHeight(3 * fontMetrics().lineSpacing());
    body->addWidget(m_report, 1);
    QScrollArea* scroll = scrollingBody(body);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_print);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    pressedByReturn(m_print);
    giveButtonsLetters(this);
    const QSize whole = wholeSize(scroll);
    resize(std::max(560, whole.width() + 24), whole.height() + m_print->sizeHint().height() + 40);
    placeOnScreen(this);
}

void AddressPrintWindow::setCards(const QList<long long>& selection, const QList<long long>& list)
{
    m_selected = selection;
    m_listed = list;
    m_selection->setText(QStringLiteral("Les fiches sélectionnées (") + tb::plainNumber(selection.size()) + u')');
    m_whole->setText(QStringLiteral("Toute la liste (") + tb::plainNumber(list.size()) + u')');
    m_selection->setAccessibleName(m_selection->text());
    m_whole->setAccessibleName(m_whole->text());
    m_selection->setEnabled(!selection.isEmpty());
    // One line selected is where the list put its cursor: the whole list is meant.
    (selection.size() > 1 ? m_selection : m_whole)->setChecked(true);
    m_report->clear();
}

void AddressPrintWindow::print()
{
    const tb::Database* db = m_ctx.session.database();
    if (!db)
        return;
    if (const QString wrong = problem(); !wrong.isEmpty()) {
        m_ctx.dialogs.message(wrong);
        return;
    }
    m_ctx.dialogs.setBusy(true);
    const tb::Result<tb::AddressBlocks> blocks =
        tb::addressBlocks(*db, m_selection->isChecked() ? m_selected : m_listed, m_archived->isChecked());
    m_ctx.dialogs.setBusy(false);
    if (!blocks) {
        m_ctx.dialogs.showError(blocks.error());
        return;
    }
    m_report->setPlainText(blocks->report.join(u'\n'));
    if (blocks->blocks.empty()) {
        m_ctx.dialogs.message(blocks->archived > 0 ? QStringLiteral(" Ces fiches sont archivées : cochez « Fiches archivées comprises » pour les imprimer.")
                                                   : QStringLiteral(" Aucune de ces fiches n'a d'adresse !"));
        return;
    }
    // Cut lines are said before anything is printed.
    if (!blocks->report.isEmpty()
        && m_ctx.dialogs.question(tb::plainNumber(blocks->report.size())
                                      + QStringLiteral(" remarque(s) sur les adresses (voir « Lignes coupées »). Imprimer quand même ?"),
                                  windowTitle(), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
               != QMessageBox::Yes)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!m_ctx.dialogs.choosePrinter(printer))
        return;
    setPage(printer);
    if (const QString cut = edgeReport(tb::unprintableMargins(printer)); !cut.isEmpty()
        && m_ctx.dialogs.question(cut + QStringLiteral("\nImprimer quand même ?"), windowTitle(),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               != QMessageBox::Yes)
        return;
    const auto draw = [&](QPrinter& onto) { (void)paint(onto, blocks->blocks); };
    if (!m_ctx.dialogs.previewPrint(printer, draw))
        return;
    if (const tb::Result<int> printed = paint(printer, blocks->blocks); !printed)
        m_ctx.dialogs.showError(printed.error());
}
