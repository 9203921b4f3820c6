#include "core/exchange/contact.h"

#include "core/cards/card_fields.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <bit>
#include <cstring>

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
    for (CardField k = kFieldFirstCustom; k <= kFieldLast; ++k) {
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
    for (CardField k = kFieldFirstCustom; k <= kFieldLast; ++k)
        if (wanted.contains(captionKey(captions.value(k - 2))))
            return k;
    return 0;
}

bool isFrance(const QString& country)
{
    static const QStringList names = {QStringLiteral("france"), QStringLiteral("fr"), QStringLiteral("fra"),
                                      QStringLiteral("republiquefrancaise"), QStringLiteral("frankreich")};
    const QString key = captionKey(country);
    return key.isEmpty() || names.contains(key);
}

QString birthdayText(const QString& text)
{
    // Outlook's "no date".
    static const QRegularExpression none(QStringLiteral("^0+[/.-]0+[/.-]0+$"));
    QString t = text.trimmed();
    if (none.match(t).hasMatch())
        return {};
    if (const qsizetype time = t.indexOf(u'T'); time > 0)
        t.truncate(time);
    const QString digits = QString(t).remove(u'-');
    bool ok = false;
    digits.toInt(&ok);
    if (!ok || digits.startsWith(u'+'))
        return text.trimmed();
    if (t.startsWith(QStringLiteral("--")) && digits.size() == 4) {
        const QDate d(2000, digits.left(2).toInt(), digits.mid(2).toInt());
        return d.isValid() ? d.toString(QStringLiteral("dd/MM")) : text.trimmed();
    }
    if (digits.size() != 8 || (t.size() != 8 && t.size() != 10))
        return text.trimmed();
    const QDate d(digits.left(4).toInt(), digits.mid(4, 2).toInt(), digits.mid(6, 2).toInt());
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : text.trimmed();
}

QString firstNamesFitting(const QString& given, const QString& additional, int width, QString* rest)
{
    const QString g = given.simplified(), a = additional.simplified();
    const QString both = (g + u' ' + a).trimmed();
    if (both.size() <= width || g.isEmpty()) {
        if (rest)
            rest->clear();
        return both;
    }
    if (rest)
        *rest = a;
    return g;
}

QByteArrayView storedBytes(QByteArrayView field)
{
    // Eight bytes at a time from the end: most fields end in a long run of
    // blanks, and the first word that is not all blanks holds the last letter.
    const char* data = field.data();
    qsizetype end = field.size();
    constexpr quint64 kBlanks = 0x2020202020202020ULL;
    for (; end >= 8; end -= 8) {
        quint64 eight;
        std::memcpy(&eight, data + end - 8, 8);
        if (const quint64 other = eight ^ kBlanks) {
            const int last = std::endian::native == std::endian::little ? (63 - std::countl_zero(other)) / 8
                                                                        : 7 - std::countr_zero(other) / 8;
            return field.first(end - 8 + last + 1);
        }
    }
    while (end > 0 && data[end - 1] == ' ')
        --end;
    return field.first(end);
}

QString storedText(const QString& field)
{
    qsizetype end = field.size();
    while (end > 0 && field[end - 1] == u' ')
        --end;
    return field.left(end);
}

}  // namespace tb
