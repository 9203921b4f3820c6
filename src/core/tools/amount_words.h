#pragma once
// Amounts in the program's own French words, and the two franc/euro texts of
// the note editor.
#include <QLocale>
#include <QString>

namespace tb {

// Francs for one euro, fixed at the euro's introduction.
constexpr double kFrancsPerEuro = 6.55957;

// An integer in words, built group by group from the right, each word followed
// by a blank: "Vingt un ", "Soixante dix ", "Quatre-vingt onze ", "Un mille ",
// "Deux million(s) cinq cent mille ". 0 gives "". Anything but digits, or more
// than 15 digits (leading zeros aside), gives "Une Erreur !".
QString SomLettr(QStringView digits);
// The integer part of a value; a negative or infinite value is an error too.
QString SomLettr(double value);

// francs / 6.55957 as "###,###,###,###,###.00" followed by " euros".
QString FFeuro(double francs, const QLocale& locale = QLocale());
// euros × 6.55957 as "###,###,###,###,###.00" followed by " francs".
QString EuroFF(double euros, const QLocale& locale = QLocale());

}  // namespace tb
