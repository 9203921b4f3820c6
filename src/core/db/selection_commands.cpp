#include "core/db/selection_commands.h"

#include "core/base/number_text.h"
#include "core/db/database.h"

#include <QSet>
#include <QUrlQuery>

namespace tb {

namespace {

QString numbersText(const QList<long long>& cards)
{
    QStringList texts;
    for (long long n : cards)
        texts.append(plainNumber(n));
    return texts.join(QStringLiteral(", "));
}

}  // namespace

QString ArchiveOutcome::report() const
{
    QString text = QStringLiteral(" ") + plainNumber(archived) + QStringLiteral(" fiche(s) archivée(s).");
    if (already > 0)
        text += QStringLiteral(" ") + plainNumber(already) + QStringLiteral(" l'étai(en)t déjà.");
    if (error)
        text += QStringLiteral("\nL'archivage s'est arrêté : ") + error->message();
    return text;
}

ArchiveOutcome archiveCards(Database& db, const QList<long long>& cards)
{
    ArchiveOutcome out;
    for (long long n : cards) {
        const Result<CardRecord> card = db.card(n);
        if (!card) {
            out.error = card.error();
            return out;
        }
        if (!card->isActive()) {
            ++out.already;
            continue;
        }
        if (const Status s = db.setArchived(n, true); !s) {
            out.error = s.error();
            return out;
        }
        ++out.archived;
    }
    return out;
}

QString BccMessage::report() const
{
    if (withoutAddress.isEmpty())
        return {};
    return QStringLiteral(" ") + plainNumber(withoutAddress.size())
           + QStringLiteral(" fiche(s) sans adresse électronique, laissée(s) de côté : n° ") + numbersText(withoutAddress)
           + u'.';
}

Result<BccMessage> bccMessage(const Database& db, const QList<long long>& cards)
{
    BccMessage out;
    QStringList addresses;
    QSet<QString> seen;
    for (long long n : cards) {
        const Result<CardRecord> card = db.card(n);
        if (!card)
            return card.error();
        const QString address = card->field(kFieldEmail).trimmed();
        if (!address.contains(u'@')) {
            out.withoutAddress.append(n);
            continue;
        }
        if (!seen.contains(address.toLower())) {
            seen.insert(address.toLower());
            addresses.append(address);
        }
    }
    out.addresses = addresses.size();
    out.url.setScheme(QStringLiteral("mailto"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("bcc"), addresses.join(u','));
    out.url.setQuery(query);
    return out;
}

}  // namespace tb
