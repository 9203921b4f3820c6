#pragma once
// The entries of the three journals: their fields, the checks run before one is
// recorded (each failure names the caption of its field), and their lines.
#include "core/base/error.h"

#include <QString>

namespace tb {

// "Erreur de saisie ! voir " + caption, a refusal without error number.
Error entryError(const QString& caption);

// The leading amount of a money journal line: the numeric value of its first
// 12 characters.
double leadingAmount(const QString& line);

namespace collections {
inline const QString kDateCaption =
    QStringLiteral("Date de l'encaissement        (format date: jj/mm/aa)      ");
inline const QString kPartyCaption = QStringLiteral("Partie versante");
inline const QString kMeansCaption = QStringLiteral("Moyen de réglement");
inline const QString kAmountCaption = QStringLiteral("Montant du versement");
}  // namespace collections

struct Payment {
    QString date, party, means, amount;
};
struct PaymentEntry {
    QString amount;  // the amount in point form, as the field shows it afterwards
    QString line;    // "150.00------------>05/12/26  party  means"
};
Result<PaymentEntry> paymentEntry(const Payment& payment, int referenceYear);

namespace interest {
inline const QString kAmountCaption = QStringLiteral("Montant de référence");
inline const QString kStartCaption = QStringLiteral("Date de début de période    (format date: jj/mm/aa)");
inline const QString kEndCaption = QStringLiteral("Date de fin de période         (format date: jj/mm/aa)");
inline const QString kRateCaption = QStringLiteral("Taux");
}  // namespace interest

struct InterestPeriod {
    QString amount, start, end, rate;
};
struct InterestEntry {
    long long days = 0;
    QString interest;  // point form
    QString line;      // "12.50------------>01/01/26-01/04/26***1000 euros*** 90 jours***5%"
};
Result<InterestEntry> interestEntry(const InterestPeriod& period, int referenceYear);

namespace memento {
inline const QString kDateCaption = QStringLiteral("Date   (format date: jj/mm/aa)");
inline const QString kNoteCaption = QStringLiteral("Annotations");
}  // namespace memento

// "05/12/26--->annotation".
Result<QString> mementoEntry(const QString& date, const QString& note, int referenceYear);

}  // namespace tb
