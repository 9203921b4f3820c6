// Temporary stand-in for the state file until branch sync-core is merged.
#include "core/db/carddav_state.h"
#include "core/base/safe_write.h"

#include <QFile>

namespace tb {

const CardDavEntry* CardDavState::entry(long long card) const
{
    for (const CardDavEntry& e : cards)
        if (e.card == card)
            return &e;
    return nullptr;
}

Result<CardDavState> readCardDavState(const QString& folder)
{
    CardDavState s;
    QFile f(folder + CardDavState::fileName());
    if (!f.open(QIODevice::ReadOnly))
        return s;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    const auto at = [&](int i) { return lines.value(i); };
    s.server = at(0);
    s.addressBook = at(1);
    s.user = at(2);
    s.acceptedCertificate = at(3);
    s.atOpening = at(4) == QLatin1String("1");
    s.everyMinutes = at(5).toInt();
    if (!at(6).isEmpty())
        s.newContactsPoint = QPointF(at(6).section(u',', 0, 0).toDouble(), at(6).section(u',', 1, 1).toDouble());
    s.lastStatus = at(7);
    return s;
}

Status writeCardDavState(const QString& folder, const CardDavState& s)
{
    const QString point = s.newContactsPoint
                              ? QString::number(s.newContactsPoint->x()) + u',' + QString::number(s.newContactsPoint->y())
                              : QString();
    const QStringList lines = {s.server, s.addressBook, s.user, s.acceptedCertificate,
                               s.atOpening ? QStringLiteral("1") : QStringLiteral("0"), QString::number(s.everyMinutes),
                               point, s.lastStatus};
    return writeFileAtomic(folder + CardDavState::fileName(), lines.join(u'\n').toUtf8());
}

Result<QHash<QString, QByteArray>> readFetchedVCards(const QString&) { return QHash<QString, QByteArray>{}; }
Status writeFetchedVCards(const QString&, const QHash<QString, QByteArray>&) { return {}; }
Status followDeletionInCardDavState(const QString&, long long, long long, const QString&) { return {}; }

}  // namespace tb
