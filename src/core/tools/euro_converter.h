#pragma once
// The euro converter's arithmetic: a typed amount converted between the euro
// and a former currency, the franc value of the euro side, and every amount
// in words for its tooltip.
#include "core/base/error.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace tb {

struct Currency {
    QString name;
    QString rate;  // units for one euro, as the rate list shows it
};

// The twelve currencies in list order; names and rates share positions.
const QList<Currency>& euroCurrencies();
// "0" to "6" decimals, and "x" for the unrounded result.
QStringList decimalChoices();

enum class AmountIn { Euros, Currency };

struct ConversionRequest {
    QString amount;  // as typed
    AmountIn amountIn = AmountIn::Euros;
    QString rate;    // the rate list's text
    QString decimals = QStringLiteral("2");
    QString currency;  // its name, for the words
};

struct Conversion {
    QString result;
    QString francs;
    // Tooltips; empty for an empty amount, all three when nothing is typed.
    QString amountWords;
    QString francsWords;
    QString resultWords;
};

// The amount as typed: blanks ignored anywhere, an optional sign, digits, a
// "," or "." as the decimal separator; what follows a second separator is
// left out. Anything else (a letter), a rate of 0 for a currency amount, or an
// overflow gives "Cette zone ne doit comporter que des chiffres!".
Result<Conversion> convert(const ConversionRequest& request, const QLocale& locale = QLocale());

struct TypedAmount {
    bool valid = false;  // digits, blanks, a sign and separators only
    bool negative = false;
    QString whole;     // the digits before the separator
    QString fraction;  // the digits after it, up to the next one
    double value = 0;
};
TypedAmount readAmount(const QString& typed);

// An amount's text in words: the integer part in words ("Moins …" below 0),
// "Zéro" when it is 0, "Mille …" rather than "Un mille …" from 1000 to 1999,
// then unit, then the decimal digits. "" for an empty text.
QString amountInWords(const QString& amount, const QString& unit);

}  // namespace tb
