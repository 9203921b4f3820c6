#pragma once
// The debtors: active cards whose remaining due (field 20) is above zero,
// largest first, each with the last payment of its collections journal.
#include "core/base/error.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tb {

class Database;

struct LastPayment {
    QString date;  // "05/12/2026", or the date as typed when it is no calendar date
    double amount = 0;
};

// The payment of the entries with the latest date (the later line among equal
// dates; lines whose date reads as no calendar date count as the oldest).
std::optional<LastPayment> lastPayment(const QStringList& entries, int referenceYear);

// The last payment of card n's collections journal; none without a journal.
Result<std::optional<LastPayment>> cardLastPayment(const Database& db, long long n, int referenceYear);

struct Debtor {
    long long number = 0;
    QString line;  // the card's line as the alphabetical list shows it
    double due = 0;
    std::optional<LastPayment> last;
};

struct DebtorList {
    std::vector<Debtor> debtors;
    double total = 0;
};

// One pass over the records, then the journals of the debtors alone.
Result<DebtorList> debtorList(const Database& db, int referenceYear = QDate::currentDate().year());

// A debtor as the window and the printed list show it, in columns under
// debtorHeading(): "     1234.50  05/12/2026     150.00  DUPONT ...", the
// payment "aucun versement" when the journal has none.
QString debtorText(const Debtor& debtor);
QString debtorHeading();
// "Total dû : 1234.50 (3 débiteurs)".
QString debtorTotalText(const DebtorList& list);

}  // namespace tb
