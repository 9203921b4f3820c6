#include "core/journals/journal_entries.h"

#include "core/base/masks.h"
#include "core/base/numeric.h"
#include "core/journals/journal_dates.h"

#include <optional>

namespace tb {
namespace {

const QString kArrow = QStringLiteral("------------>");

}  // namespace

Error entryError(const QString& caption)
{
    return Error{kNoErrorNumber, QStringLiteral("Erreur de saisie ! voir ") + caption};
}

double leadingAmount(const QString& line)
{
    return numericValue(QStringView(line).left(12));
}

Result<PaymentEntry> paymentEntry(const Payment& p, int referenceYear)
{
    using namespace collections;
    if (!journalDate(p.date, referenceYear))
        return entryError(kDateCaption);
    if (p.party.isEmpty())
        return entryError(kPartyCaption);
    if (p.means.isEmpty())
        return entryError(kMeansCaption);
    const double amount = amountValue(p.amount);
    if (amount == 0)
        return entryError(kAmountCaption);
    PaymentEntry e;
    e.amount = pointForm(amount);
    e.line = e.amount + kArrow + p.date + QStringLiteral("  ") + p.party + QStringLiteral("  ") + p.means;
    return e;
}

Result<InterestEntry> interestEntry(const InterestPeriod& p, int referenceYear)
{
    using namespace interest;
    const double amount = amountValue(p.amount);
    if (amount == 0)
        return entryError(kAmountCaption);
    const std::optional<QDate> start = journalDate(p.start, referenceYear);
    if (!start)
        return entryError(kStartCaption);
    const std::optional<QDate> end = journalDate(p.end, referenceYear);
    if (!end)
        return entryError(kEndCaption);
    const double rate = amountValue(p.rate);
    if (rate == 0 || rate > 100)
        return entryError(kRateCaption);
    InterestEntry e;
    e.days = start->daysTo(*end);
    // Actual days over a year of 360, in this order.
    const double value = amount * rate / 100 * double(e.days) / 360;
    e.interest = pointForm(value);
    e.line = e.interest + kArrow + p.start + u'-' + p.end + QStringLiteral("***") + p.amount
             + QStringLiteral(" euros*** ") + QString::number(e.days) + QStringLiteral(" jours***") + p.rate + u'%';
    return e;
}

Result<QString> mementoEntry(const QString& date, const QString& note, int referenceYear)
{
    if (!journalDate(date, referenceYear))
        return entryError(memento::kDateCaption);
    if (note.isEmpty())
        return entryError(memento::kNoteCaption);
    return date + QStringLiteral("--->") + note;
}

}  // namespace tb
