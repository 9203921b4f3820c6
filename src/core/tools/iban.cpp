#include "core/tools/iban.h"

#include "core/tools/rib_key.h"

#include <QHash>

namespace tb {

namespace {

Error invalid(const QString& reason)
{
    return Error{kNoErrorNumber, QStringLiteral(" IBAN invalide : ") + reason};
}

// The length of the IBANs of the countries of the euro payments area.
int ibanLength(const QString& country)
{
    static const QHash<QString, int> lengths = {
        {"AD", 24}, {"AT", 20}, {"BE", 16}, {"BG", 22}, {"CH", 21}, {"CY", 28}, {"CZ", 24}, {"DE", 22},
        {"DK", 18}, {"EE", 20}, {"ES", 24}, {"FI", 18}, {"FR", 27}, {"GB", 22}, {"GI", 23}, {"GR", 27},
        {"HR", 21}, {"HU", 28}, {"IE", 22}, {"IS", 26}, {"IT", 27}, {"LI", 21}, {"LT", 20}, {"LU", 20},
        {"LV", 21}, {"MC", 27}, {"MT", 31}, {"NL", 18}, {"NO", 15}, {"PL", 28}, {"PT", 25}, {"RO", 24},
        {"SE", 24}, {"SI", 19}, {"SK", 24}, {"SM", 27}, {"VA", 22},
    };
    return lengths.value(country, 0);
}

bool isCapital(QChar c) { return c >= u'A' && c <= u'Z'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The number the IBAN stands for once its first four characters are moved to
// its end and each letter is read as 10 to 35, modulo 97, digit by digit.
int mod97(const QString& iban)
{
    const QString moved = iban.mid(4) + iban.left(4);
    int rest = 0;
    for (const QChar c : moved) {
        const int v = isDigit(c) ? c.unicode() - u'0' : c.unicode() - u'A' + 10;
        rest = v >= 10 ? (rest * 100 + v) % 97 : (rest * 10 + v) % 97;
    }
    return rest;
}

}  // namespace

Result<IbanCheck> checkIban(const QString& typed)
{
    IbanCheck check;
    for (const QChar c : typed) {
        if (c == u' ' || c == u'\t')
            continue;
        const QChar capital = c >= u'a' && c <= u'z' ? QChar(c.unicode() - u'a' + u'A') : c;
        if (!isCapital(capital) && !isDigit(capital))
            return invalid(QStringLiteral("seuls les lettres, les chiffres et les blancs sont permis"));
        check.iban.append(capital);
    }
    const QString& iban = check.iban;
    if (iban.isEmpty())
        return invalid(QStringLiteral("aucun numéro n'a été saisi"));
    if (iban.size() < 2 || !isCapital(iban[0]) || !isCapital(iban[1]))
        return invalid(QStringLiteral("il doit commencer par les deux lettres du pays"));
    const QString country = iban.left(2);
    if (iban.size() < 4 || !isDigit(iban[2]) || !isDigit(iban[3]))
        return invalid(QStringLiteral("les deux chiffres de contrôle doivent suivre le pays"));
    const int expected = ibanLength(country);
    if (expected != 0 && iban.size() != expected)
        return invalid(QStringLiteral("un IBAN ") + country + QStringLiteral(" compte ") + QString::number(expected)
                       + QStringLiteral(" caractères, celui-ci en compte ") + QString::number(iban.size()));
    if (expected == 0 && (iban.size() < 15 || iban.size() > 34))
        return invalid(QStringLiteral("un IBAN compte de 15 à 34 caractères, celui-ci en compte ")
                       + QString::number(iban.size()));
    if (mod97(iban) != 1)
        return invalid(QStringLiteral("les chiffres de contrôle ne correspondent pas au numéro"));
    if (country != QLatin1String("FR"))
        return check;

    check.french = true;
    check.bank = iban.mid(4, 5);
    check.branch = iban.mid(9, 5);
    check.account = iban.mid(14, 11);
    check.ribKey = iban.mid(25, 2);
    const Result<std::optional<int>> key = ribKey(check.bank, check.branch, check.account);
    if (!key || !key.value() || *key.value() != check.ribKey.toInt())
        return invalid(QStringLiteral("la clé RIB ") + check.ribKey
                       + QStringLiteral(" ne correspond pas à la banque, au guichet et au compte"));
    return check;
}

QString frenchIbanParts(const IbanCheck& check)
{
    return QStringLiteral("Banque ") + check.bank + QStringLiteral("  Guichet ") + check.branch
           + QStringLiteral("  Compte ") + check.account + QStringLiteral("  Clé RIB ") + check.ribKey;
}

}  // namespace tb
