#include "gui/mail/envelopes_window.h"

#include "core/db/session.h"
#include "core/mail/sender_address.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPrinter>

FEnveloppes::FEnveloppes(AppContext& ctx, QWidget* parent)
    : AddressPrintWindow(ctx, parent, QStringLiteral("FEnveloppes"), QStringLiteral("Enveloppes"))
{
    m_sizes = new QComboBox(this);
    m_sizes->setObjectName(QStringLiteral("Combo1"));
    m_sizes->setAccessibleName(QStringLiteral("Format"));
    const QLocale fr(QLocale::French);
    for (const tb::Envelope& e : tb::envelopes())
        m_sizes->addItem(e.name + QStringLiteral(" (") + fr.toString(e.width) + QStringLiteral(" × ") + fr.toString(e.height)
                         + QStringLiteral(" mm)"));
    m_withSender = new QCheckBox(QStringLiteral("Imprimer l'expéditeur en haut à gauche"), this);
    m_withSender->setObjectName(QStringLiteral("Check2"));
    m_withSender->setAccessibleName(m_withSender->text());
    m_sender = new QLabel(this);
    m_sender->setObjectName(QStringLiteral("Label1"));
    m_sender->setTextFormat(Qt::PlainText);
    form()->addRow(QStringLiteral("&Format"), m_sizes);
    form()->addRow(m_withSender);
    form()->addRow(QStringLiteral("Expéditeur"), m_sender);
    finishLayout();
}

void FEnveloppes::showEvent(QShowEvent* event)
{
    // The sender as "Outils" > "Expéditeur" last kept it.
    const QStringList lines = sender();
    m_sender->setText(lines.isEmpty() ? QStringLiteral("(aucun : « Outils », « Expéditeur »)") : lines.join(u'\n'));
    m_sender->setAccessibleName(QStringLiteral("Expéditeur : ") + m_sender->text());
    m_withSender->setEnabled(!lines.isEmpty());
    if (lines.isEmpty())
        m_withSender->setChecked(false);
    AddressPrintWindow::showEvent(event);
}

const tb::Envelope& FEnveloppes::envelope() const
{
    return tb::envelopes()[size_t(std::max(0, m_sizes->currentIndex()))];
}

QStringList FEnveloppes::sender() const
{
    return tb::readSenderAddress(m_ctx.session.programFolder());
}

void FEnveloppes::setPage(QPrinter& printer) const
{
    tb::setEnvelopePage(printer, envelope());
}

QString FEnveloppes::edgeReport(const QMarginsF& unprintable) const
{
    return tb::envelopeEdgeReport(envelope(), unprintable, m_withSender->isChecked());
}

tb::Result<int> FEnveloppes::paint(QPrinter& printer, const std::vector<QStringList>& blocks) const
{
    return tb::printEnvelopes(printer, envelope(), m_withSender->isChecked() ? sender() : QStringList(), blocks);
}
