#pragma once
// Dates typed as jj/mm/aa in the journals.
#include <QDate>
#include <QString>
#include <optional>

namespace tb {

// Eight characters with "/" as the 3rd and 6th: the shape every journal date
// must have. Digits are not examined here.
bool hasJournalDateShape(const QString& text);

// The full year of a two-digit year: the one that falls from 80 years before
// to 19 years after referenceYear (with 2026: 00-45 are 2000-2045, 46-99 are
// 1946-1999).
int fullYear(int twoDigitYear, int referenceYear);

// The calendar date of a jj/mm/aa text, none when it is no calendar date.
std::optional<QDate> journalDate(const QString& text, int referenceYear = QDate::currentDate().year());

// "05/12/26": what "Date du jour" writes.
QString journalDateText(const QDate& date);

}  // namespace tb
