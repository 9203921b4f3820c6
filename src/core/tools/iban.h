#pragma once
// The check of an international bank account number (IBAN, ISO 13616): its
// country's length and its mod-97 check digits; a French one is also read as
// the bank, branch, account and RIB key it holds.
#include "core/base/error.h"

#include <QString>

namespace tb {

struct IbanCheck {
    QString iban;  // as checked: capitals, without blanks
    bool french = false;
    QString bank, branch, account, ribKey;  // a French IBAN's parts
};

// Blanks are ignored and small letters count as capitals. The error's text is
// " IBAN invalide : " and the reason.
Result<IbanCheck> checkIban(const QString& typed);

// "Banque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89".
QString frenchIbanParts(const IbanCheck& check);

}  // namespace tb
