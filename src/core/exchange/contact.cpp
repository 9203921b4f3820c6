#include "core/exchange/contact.h"

#include "core/cards/card_fields.h"

#include <QHash>

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

QString captionKey(const QString& text)
{
    QString key;
    for (QChar c : text.normalized(QString::NormalizationForm_KD))
        if (c.isLetterOrNumber())
            key += c.toLower();
    return key;
}

int fieldOfRole(ContactRole role, const QStringList& captions)
{
    // The captions a database is likely to give each role, as keys.
    static const QHash<ContactRole, QStringList> names = {
        {ContactRole::Company,
         {QStringLiteral("societe"), QStringLiteral("entreprise"), QStringLiteral("organisation"),
          QStringLiteral("raisonsociale"), QStringLiteral("company"), QStringLiteral("firma")}},
        {ContactRole::JobTitle,
         {QStringLiteral("profession"), QStringLiteral("fonction"), QStringLiteral("metier"),
          QStringLiteral("poste"), QStringLiteral("jobtitle")}},
        {ContactRole::Birthday,
         {QStringLiteral("datedenaissance"), QStringLiteral("naissance"), QStringLiteral("nele"),
          QStringLiteral("anniversaire"), QStringLiteral("birthday")}},
        {ContactRole::Notes,
         {QStringLiteral("observations"), QStringLiteral("observation"), QStringLiteral("notes"),
          QStringLiteral("note"), QStringLiteral("remarques"), QStringLiteral("commentaires")}},
    };
    const QStringList& wanted = names[role];
    for (int k = kFieldFirstCustom; k <= CardRecord::kFieldCount; ++k)
        if (wanted.contains(captionKey(captions.value(k - 2))))
            return k;
    return 0;
}

QString storedText(const QString& field)
{
    qsizetype end = field.size();
    while (end > 0 && field[end - 1] == u' ')
        --end;
    return field.left(end);
}

}  // namespace tb
