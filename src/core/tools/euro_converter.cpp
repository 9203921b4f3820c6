#include "core/tools/euro_converter.h"

#include "core/base/masks.h"
#include "core/base/numeric.h"
#include "core/tools/amount_words.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace tb {

namespace {

Error notDigits()
{
    return Error{kNoErrorNumber, QStringLiteral("Cette zone ne doit comporter que des chiffres!")};
}

QString maskFor(const QString& decimals)
{
    const QString whole = QStringLiteral("##################");
    bool ok = false;
    const int places = decimals.toInt(&ok);
    if (!ok || places <= 0 || places > 6)
        return whole;
    return QStringLiteral("###############.") + QString(places, u'0');
}

// The unrounded value as plain digits (15 significant), never in exponent
// form, which would split into nonsense words.
QString plainText(double value, const QLocale& locale)
{
    if (value == 0)
        return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    const int places = std::clamp(14 - magnitude, 0, 330);
    QString text = QString::number(value, 'f', places);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text.replace(u'.', locale.decimalPoint());
}

}  // namespace

const QList<Currency>& euroCurrencies()
{
    static const QList<Currency> list = {
        {QStringLiteral("Deutsches Marks"), QStringLiteral("1.95583")},
        {QStringLiteral("Schillings autrichiens"), QStringLiteral("13.7603")},
        {QStringLiteral("Francs belges"), QStringLiteral("40.3399")},
        {QStringLiteral("Pesetas espagnoles"), QStringLiteral("166.386")},
        {QStringLiteral("Marks finlandais"), QStringLiteral("5.94573")},
        {QStringLiteral("Francs français"), QStringLiteral("6.55957")},
        {QStringLiteral("Drachmes grecs"), QStringLiteral("340.750")},
        {QStringLiteral("Punts irlandais"), QStringLiteral("0.787564")},
        {QStringLiteral("Lires italiennes"), QStringLiteral("1936.27")},
        {QStringLiteral("Francs luxembourgeois"), QStringLiteral("40.3399")},
        {QStringLiteral("Florins néerlandais"), QStringLiteral("2.20371")},
        {QStringLiteral("Escudos portugais"), QStringLiteral("200.482")},
    };
    return list;
}

QStringList decimalChoices()
{
    return {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
            QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("x")};
}

TypedAmount readAmount(const QString& typed)
{
    TypedAmount a;
    QString text = typed;
    text.remove(u' ');
    static const QRegularExpression number(QStringLiteral("^([+-]?)([0-9]*)(?:[,.]([0-9]*))?[0-9,.]*$"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return a;
    a.valid = true;
    a.negative = m.captured(1) == u'-';
    a.whole = m.captured(2);
    a.fraction = m.captured(3);
    a.value = amountValue(text);
    return a;
}

QString amountInWords(const QString& amount, const QString& unit)
{
    if (amount.isEmpty())
        return {};
    const TypedAmount a = readAmount(amount);
    const double value = numericValue(a.whole);
    QString words = value > 0 ? SomLettr(QStringView(a.whole)) : QStringLiteral("Zéro");
    if (value >= 1000 && value <= 1999)
        words = u'M' + words.mid(4);  // "Un mille cent" reads "Mille cent"
    if (a.negative && value > 0)
        words = QStringLiteral("Moins ") + words.left(1).toLower() + words.mid(1);
    return words + unit + a.fraction;
}

Result<Conversion> convert(const ConversionRequest& request, const QLocale& locale)
{
    const TypedAmount typed = readAmount(request.amount);
    if (!typed.valid)
        return notDigits();
    // More digits than a double holds would silently read as 0.
    QString whole = typed.whole;
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.size() > 300)
        return notDigits();

    const double amount = typed.value;
    const double rate = numericValue(request.rate);
    const bool fromEuros = request.amountIn == AmountIn::Euros;
    double result = 0;
    if (amount != 0) {
        if (!fromEuros && rate == 0)
            return notDigits();
        result = fromEuros ? amount * rate : amount / rate;
    }
    const double francs = (fromEuros ? amount : result) * kFrancsPerEuro;
    if (!std::isfinite(result) || !std::isfinite(francs))
        return notDigits();

    const bool unrounded = request.decimals == QLatin1String("x");
    const QString mask = maskFor(request.decimals);
    Conversion c;
    c.result = unrounded ? plainText(result, locale) : formatMask(result, mask, locale);
    c.francs = formatMask(francs, mask, locale);
    if (request.amount.isEmpty())
        return c;
    const QString currency = u' ' + request.currency + u' ';
    const QString euros = QStringLiteral(" euros ");
    c.amountWords = amountInWords(request.amount, fromEuros ? euros : currency);
    c.francsWords = amountInWords(c.francs, QStringLiteral(" francs "));
    c.resultWords = amountInWords(c.result, fromEuros ? currency : euros);
    return c;
}

}  // namespace tb
