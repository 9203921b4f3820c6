#include "core/exchange/contact.h"

#include "core/cards/card_fields.h"

namespace tb {

QString Contact::label() const
{
    const QString name = (field(kFieldSurname).trimmed() + u' ' + field(kFieldFirstNames).trimmed()).trimmed();
    return name.isEmpty() ? QStringLiteral("(sans nom)") : name;
}

QStringList exchangeCaptions(const QStringList& databaseCaptions)
{
    QStringList captions;
    for (const QString& c : fixedFieldCaptions())
        captions << c.trimmed();
    for (int k = kFieldFirstCustom; k <= CardRecord::kFieldCount; ++k) {
        const QString c = databaseCaptions.value(k - kFieldFirstCustom).trimmed();
        captions << (c.isEmpty() ? QStringLiteral("Champ ") + QString::number(k) : c);
    }
    return captions;
}

QString storedText(const QString& field)
{
    qsizetype end = field.size();
    while (end > 0 && field[end - 1] == u' ')
        --end;
    return field.left(end);
}

}  // namespace tb
