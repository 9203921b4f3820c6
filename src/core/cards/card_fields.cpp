#include "core/cards/card_fields.h"

#include "core/base/codepage.h"
#include "core/base/number_text.h"
#include "core/base/numeric.h"

namespace tb {

QStringList fixedFieldCaptions()
{
    return {QStringLiteral("Mr/Mme/Me/Société..."), QStringLiteral("Nom "),
            QStringLiteral("Prénoms"),              QStringLiteral("Rue"),
            QStringLiteral("Code Postal"),          QStringLiteral("Ville"),
            QStringLiteral("N° de téléphone"),      QStringLiteral("N° de portable"),
            QStringLiteral("Adresse E-mail")};
}

QString statusWord(const PinField& pin, bool capitalized)
{
    const bool active = pin.isActive();
    if (capitalized)
        return active ? QStringLiteral("Active") : QStringLiteral("Archivée");
    return active ? QStringLiteral("active") : QStringLiteral("archivée");
}

QString surnameInCapitals(const QString& surname)
{
    return upperWithinCodePage(surname);
}

CardRecord validatedCard(CardRecord card)
{
    card.field(kFieldSurname) = surnameInCapitals(card.field(kFieldSurname));
    return card;
}

QString cardTitle(const CardRecord& card, long long n)
{
    return (card.field(kFieldSurname).trimmed() + u' ' + card.field(kFieldFirstNames).trimmed()).trimmed() + QStringLiteral(" — fiche n° ")
           + plainNumber(n);
}

}  // namespace tb
