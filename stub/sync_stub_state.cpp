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

// The vCard merge, as plainly as can be, until its branch is merged.
#include "core/exchange/vcard_merge.h"

#include <QCryptographicHash>
#include <QUuid>

namespace tb {

QString vCardUid(const QByteArray& vcard)
{
    for (const QByteArray& line : vcard.split('\n'))
        if (line.startsWith("UID:"))
            return QString::fromUtf8(line.mid(4).trimmed());
    return {};
}

QByteArray mergedVCard(const QByteArray& ours, const QByteArray&, const QString& uid)
{
    QByteArray out;
    for (const QByteArray& line : ours.split('\n')) {
        if (line.startsWith("UID:"))
            continue;
        out += line + '\n';
        if (line.startsWith("VERSION:"))
            out += "UID:" + uid.toUtf8() + "\r\n";
    }
    return out.chopped(1);
}

QByteArray vCardDigest(const QByteArray& vcard)
{
    QByteArray owned;
    for (QByteArray line : vcard.split('\n')) {
        line = line.trimmed();
        if (!line.startsWith("UID:") && !line.startsWith("PRODID:") && !line.startsWith("REV:"))
            owned += line + '\n';
    }
    return QCryptographicHash::hash(owned, QCryptographicHash::Sha256).toHex();
}

QString newCardUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

}  // namespace tb
