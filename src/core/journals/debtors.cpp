#include "core/journals/debtors.h"

#include "core/base/masks.h"
#include "core/base/numeric.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/db/database.h"
#include "core/journals/journal.h"
#include "core/journals/journal_dates.h"
#include "core/journals/journal_entries.h"
#include "core/lists/card_lists.h"
#include "core/lists/display_line.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace tb {

namespace {
const QString kArrow = QStringLiteral("------------>");

// Cents, so that amounts compare and add as the point form shows them.
long long cents(double amount)
{
    return std::llround(amount * 100);
}
}  // namespace

std::optional<LastPayment> lastPayment(const QStringList& entries, int referenceYear)
{
    std::optional<LastPayment> best;
    std::optional<QDate> bestDate;
    for (const QString& entry : entries) {
        const qsizetype arrow = entry.indexOf(kArrow);
        const QString typed = arrow < 0 ? QString() : entry.mid(arrow + kArrow.size(), 8);
        const std::optional<QDate> date = journalDate(typed, referenceYear);
        if (best && (!date || (bestDate && *date < *bestDate)))
            continue;
        best = LastPayment{date ? date->toString(QStringLiteral("dd/MM/yyyy")) : typed.trimmed(), leadingAmount(entry)};
        bestDate = date;
    }
    return best;
}

Result<std::optional<LastPayment>> cardLastPayment(const Database& db, long long n, int referenceYear)
{
    // Most cards have the journal under the name the program gives it.
    QString path = db.file(sideFileName(SideFile::Collections, n));
    if (!QFile::exists(path))
        path = db.findSideFile(SideFile::Collections, n);
    if (!QFile::exists(path))
        return std::optional<LastPayment>();
    Result<QByteArray> bytes = readFile(path);
    if (!bytes)
        return bytes.error();
    return lastPayment(journalEntries(*bytes), referenceYear);
}

Result<DebtorList> debtorList(const Database& db, int referenceYear)
{
    DebtorList out;
    const KeyFields fields = keyFields(ListKind::Alphabetical);
    Status read = db.store().forEachRaw(db.count(), [&](long long n, QByteArrayView record) {
        if (!activeRecord(record))
            return;
        const double due = numericValue(CardRecord::fieldBytes(record, kFieldRemaining));
        if (cents(due) <= 0)
            return;
        out.debtors.push_back(Debtor{n, displayLine(record, fields), due, std::nullopt});
    });
    if (!read)
        return read.error();
    std::stable_sort(out.debtors.begin(), out.debtors.end(),
                     [](const Debtor& a, const Debtor& b) { return cents(a.due) > cents(b.due); });
    long long total = 0;
    for (Debtor& d : out.debtors) {
        total += cents(d.due);
        Result<std::optional<LastPayment>> last = cardLastPayment(db, d.number, referenceYear);
        if (!last)
            return last.error();
        d.last = *last;
    }
    out.total = double(total) / 100;
    return out;
}

namespace {
constexpr int kDueWidth = 12;
constexpr int kPaymentWidth = 21;
}  // namespace

QString debtorText(const Debtor& debtor)
{
    const QString payment = debtor.last ? debtor.last->date.leftJustified(10) + u' '
                                              + pointForm(debtor.last->amount).rightJustified(10)
                                        : QStringLiteral("aucun versement");
    return pointForm(debtor.due).rightJustified(kDueWidth) + QStringLiteral("  ")
           + payment.leftJustified(kPaymentWidth) + QStringLiteral("  ") + debtor.line.trimmed();
}

QString debtorHeading()
{
    return QStringLiteral("Reste dû").rightJustified(kDueWidth) + QStringLiteral("  ")
           + QStringLiteral("Dernier versement").leftJustified(kPaymentWidth) + QStringLiteral("  Fiche");
}

QString debtorTotalText(const DebtorList& list)
{
    return QStringLiteral("Total dû : ") + pointForm(list.total) + QStringLiteral(" (")
           + plainNumber((long long)list.debtors.size()) + QStringLiteral(" débiteur(s))");
}

}  // namespace tb
