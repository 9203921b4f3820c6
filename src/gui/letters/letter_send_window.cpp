#include "gui/letters/letter_send_window.h"

#include "core/base/number_text.h"
#include "core/db/database.h"
#include "core/db/session.h"
#include "core/letters/letter_merge.h"
#include "core/letters/letters.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/widgets/text_tools.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A report longer than this is cut, so that its box fits the screen.
constexpr int kReportLines = 15;

QString reportText(const QStringList& lines)
{
    QStringList shown = lines.mid(0, kReportLines);
    if (lines.size() > kReportLines)
        shown.append(QStringLiteral("… et ") + tb::plainNumber(lines.size() - kReportLines)
                     + QStringLiteral(" autre(s) remarque(s)."));
    return QStringLiteral("Avant l'impression, ces champs sont à vérifier :\n\n") + shown.join(u'\n')
           + QStringLiteral("\n\nImprimer quand même ?");
}
}  // namespace

FEnvoiLettres::FEnvoiLettres(AppContext& ctx, const QList<long long>& cards, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ctx(ctx), m_cards(cards)
{
    setUpSecondaryWindow(this, QStringLiteral("FEnvoiLettres"), QStringLiteral("Envoi de lettres"));
    m_count = new QLabel(QStringLiteral("Lettre à envoyer à ") + tb::plainNumber(cards.size())
                             + QStringLiteral(" fiche(s) :"),
                         this);
    m_count->setObjectName(QStringLiteral("Label1"));
    m_letters = new QListWidget(this);
    m_letters->setObjectName(QStringLiteral("List1"));
    m_letters->setAccessibleName(QStringLiteral("Lettre à envoyer"));
    m_letters->addItems(tb::letterNames(m_ctx.session.programFolder()));
    m_letters->setCurrentRow(0);
    m_count->setBuddy(m_letters);

    QPushButton* print = toolButton(this, "Command1", QStringLiteral("Aperçu et impression…"));
    print->setEnabled(m_letters->count() > 0);
    QPushButton* cancel = toolButton(this, "Command2", QStringLiteral("Annuler"));
    connect(print, &QPushButton::clicked, this, &FEnvoiLettres::print);
    connect(m_letters, &QListWidget::itemActivated, this, &FEnvoiLettres::print);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_count);
    layout->addWidget(m_letters, 1);
    layout->addLayout(buttons);
    resize(380, 320);
    placeOnScreen(this);
    m_letters->setFocus();
}

void FEnvoiLettres::print()
{
    const tb::Database* db = m_ctx.session.database();
    const QListWidgetItem* item = m_letters->currentItem();
    if (!db || !item)
        return;
    const tb::Result<QString> html = tb::loadLetter(m_ctx.session.programFolder(), item->text());
    if (!html) {
        m_ctx.dialogs.showError(html.error());
        return;
    }
    m_ctx.dialogs.setBusy(true);
    const tb::Result<tb::LetterMerge> merged = tb::mergeLetter(*db, *html, m_cards);
    m_ctx.dialogs.setBusy(false);
    if (!merged) {
        m_ctx.dialogs.showError(merged.error());
        return;
    }
    const QStringList report = tb::letterReport(*merged);
    if (!report.isEmpty()
        && m_ctx.dialogs.question(reportText(report), QStringLiteral("Envoi de lettres"),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Warning)
               != QMessageBox::Yes)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    if (!m_ctx.dialogs.choosePrinter(printer))
        return;
    const auto paint = [&](QPrinter& onto) { (void)tb::paintLetters(onto, *merged); };
    if (!m_ctx.dialogs.previewPrint(printer, paint))
        return;
    m_ctx.dialogs.setBusy(true);
    const tb::Status printed = tb::paintLetters(printer, *merged);
    m_ctx.dialogs.setBusy(false);
    if (!printed) {
        m_ctx.dialogs.showError(printed.error());
        return;
    }
    close();
}
