#include "gui/journals/interest_journal_window.h"

#include "core/base/masks.h"
#include "core/journals/journal_entries.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>

Ffrance18::Ffrance18(AppContext& ctx, QWidget* parent)
    : JournalWindowBase(ctx, parent, tb::JournalKind::Interest,
                        {"Ffrance18", QStringLiteral("Journal des intérêts"), QStringLiteral("Journal des intérêts"),
                         QStringLiteral("Enregistrer les nouveaux intérêts"),
                         QStringLiteral("Supprimer du journal des intérêts l'élément sélectionné"),
                         QStringLiteral("Suppression d'une ligne du journal des intérêts "), false})
{
    using namespace tb::interest;
    m_amount = addField("Label1", "Text1", kAmountCaption);
    m_start = addField("Label2", "Text2", kStartCaption);
    m_end = addField("Label3", "Text3", kEndCaption);
    m_rate = addField("Label4", "Text4", kRateCaption);
    m_days = addDisplay("Label7", "Label8", QStringLiteral("Nombre de jours"));
    m_interest = addDisplay("Label12", "Label13", QStringLiteral("Montant des intérêts"));
    m_total = addDisplay("Label5", "Label6", QStringLiteral("Total des intérêts"));
    finishLayout(nullptr);
}

void Ffrance18::record()
{
    const tb::Result<tb::InterestEntry> entry = tb::interestEntry(
        {m_amount->text(), m_start->text(), m_end->text(), m_rate->text()}, QDate::currentDate().year());
    if (!entry) {
        refuse(entry.error());
        return;
    }
    m_days->setText(QString::number(entry->days));
    m_interest->setText(entry->interest);
    addEntry(entry->line);
}

void Ffrance18::showTotals()
{
    m_total->setText(tb::formatMask(total(), QStringLiteral("##################.00")));
}
