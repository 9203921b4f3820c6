#include "gui/journals/collections_journal_window.h"

#include "core/base/masks.h"
#include "core/base/numeric.h"
#include "core/cards/debt.h"
#include "core/journals/journal_entries.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>

Ffrance19::Ffrance19(AppContext& ctx, QWidget* parent)
    : JournalWindowBase(ctx, parent, tb::JournalKind::Collections,
                        {"Ffrance19", QStringLiteral("Journal des recouvrements"),
                         QStringLiteral("Journal des recouvrements"),
                         QStringLiteral("Enregistrer le nouveau recouvrement"),
                         QStringLiteral("Supprimer du journal des recouvrements l'élément sélectionné"),
                         QStringLiteral("Suppression d'une ligne du journal des recouvrements "), true})
{
    using namespace tb::collections;
    m_date = addField("Label1", "Text1", kDateCaption);
    m_party = addField("Label2", "Text2", kPartyCaption);
    m_means = addField("Label3", "Text3", kMeansCaption);
    m_amount = addField("Label4", "Text4", kAmountCaption);
    m_toCollect = addDisplay("Label7", "Label10", QStringLiteral("Montant à recouvrer"));
    m_collected = addDisplay("Label5", "Label6", QStringLiteral("Total des recouvrements"));
    m_remaining = addDisplay("Label8", "Label9", QStringLiteral("Montant restant dû"));
    finishLayout(m_date);
}

void Ffrance19::setAmounts(const CardRecord& card)
{
    m_toCollect->setText(card.field(tb::kFieldTotalOwed).trimmed());
    m_collected->setText(card.field(tb::kFieldCollected).trimmed());
    m_remaining->setText(card.field(tb::kFieldRemaining).trimmed());
}

void Ffrance19::record()
{
    const tb::Result<tb::PaymentEntry> entry = tb::paymentEntry(
        {m_date->text(), m_party->text(), m_means->text(), m_amount->text()}, QDate::currentDate().year());
    if (!entry) {
        refuse(entry.error());
        return;
    }
    m_amount->setText(entry->amount);
    addEntry(entry->line);
}

void Ffrance19::showTotals()
{
    const double collected = total();
    m_collected->setText(tb::formatMask(collected, QStringLiteral("##################.00")));
    m_remaining->setText(
        tb::formatMask(tb::amountValue(m_toCollect->text()) - collected, QStringLiteral("##################.00")));
}
