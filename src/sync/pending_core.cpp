// Stand-ins for the state file and the vCard merge until the core's own
// land (branch sync-core); removed at that merge.
#include "core/base/safe_write.h"
#include "core/db/carddav_state.h"
#include "core/exchange/vcard_merge.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>

namespace tb {

namespace {

QList<QByteArray> unfolded(const QByteArray& vcard)
{
    QByteArray text = vcard;
    text.replace("\r\n", "\n");
    text.replace("\n ", "").replace("\n\t", "");
    QList<QByteArray> lines = text.split('\n');
    lines.removeAll(QByteArray());
    return lines;
}

QByteArray nameOf(const QByteArray& line)
{
    const qsizetype end = std::min(line.indexOf(':') < 0 ? line.size() : line.indexOf(':'),
                                   line.indexOf(';') < 0 ? line.size() : line.indexOf(';'));
    QByteArray name = line.left(end).toUpper();
    if (const qsizetype dot = name.indexOf('.'); dot >= 0)
        name = name.mid(dot + 1);
    return name;
}

bool owned(const QByteArray& name)
{
    static const QList<QByteArray> names{"N", "FN", "ADR", "TEL", "EMAIL", "ORG", "TITLE", "BDAY", "NOTE", "PHOTO",
                                         "X-TABULON-PIN"};
    return names.contains(name);
}

bool frame(const QByteArray& name)
{
    return name == "BEGIN" || name == "END" || name == "VERSION" || name == "UID";
}

}  // namespace

QByteArray mergedVCard(const QByteArray& ours, const QByteArray& theirs, const QString& uid)
{
    QByteArray out = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid.toUtf8() + "\r\n";
    for (const QByteArray& line : unfolded(ours))
        if (!frame(nameOf(line)))
            out += line + "\r\n";
    for (const QByteArray& line : unfolded(theirs))
        if (const QByteArray name = nameOf(line); !frame(name) && !owned(name))
            out += line + "\r\n";
    return out + "END:VCARD\r\n";
}

QByteArray vCardDigest(const QByteArray& vcard)
{
    QList<QByteArray> lines;
    for (const QByteArray& line : unfolded(vcard))
        if (owned(nameOf(line)))
            lines << QByteArray(line).replace("\\;", ";");
    std::sort(lines.begin(), lines.end());
    return QCryptographicHash::hash(lines.join('\n'), QCryptographicHash::Sha256).toHex();
}

QString vCardUid(const QByteArray& vcard)
{
    for (const QByteArray& line : unfolded(vcard))
        if (nameOf(line) == "UID")
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
    return {};
}

QString newCardUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

const CardDavEntry* CardDavState::entry(long long card) const
{
    for (const CardDavEntry& e : cards)
        if (e.card == card)
            return &e;
    return nullptr;
}

namespace {

QByteArray entryLine(const char* kind, const CardDavEntry& e)
{
    return QByteArray(kind) + '\t' + QByteArray::number(e.card) + '\t' + e.uid.toUtf8() + '\t' + e.href.toUtf8()
           + '\t' + e.etag.toUtf8() + '\t' + e.sentDigest + '\n';
}

}  // namespace

Result<CardDavState> readCardDavState(const QString& folder)
{
    CardDavState state;
    if (!QFileInfo::exists(folder + CardDavState::fileName()))
        return state;
    Result<QByteArray> bytes = readFile(folder + CardDavState::fileName());
    if (!bytes)
        return bytes.error();
    for (const QByteArray& line : bytes->split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        const QString v = f.size() > 1 ? QString::fromUtf8(f[1]) : QString();
        if (f[0] == "server") state.server = v;
        else if (f[0] == "book") state.addressBook = v;
        else if (f[0] == "user") state.user = v;
        else if (f[0] == "token") state.syncToken = v;
        else if (f[0] == "certificate") state.acceptedCertificate = v;
        else if (f[0] == "status") state.lastStatus = v;
        else if (f[0] == "followed") state.followedDeletion = v;
        else if ((f[0] == "card" || f[0] == "deleted") && f.size() >= 6) {
            CardDavEntry e{f[1].toLongLong(), QString::fromUtf8(f[2]), QString::fromUtf8(f[3]), QString::fromUtf8(f[4]),
                           f[5]};
            (f[0] == "card" ? state.cards : state.deletedHere).push_back(e);
        }
    }
    std::sort(state.cards.begin(), state.cards.end(), [](auto& a, auto& b) { return a.card < b.card; });
    return state;
}

Status writeCardDavState(const QString& folder, const CardDavState& state)
{
    QByteArray out;
    const auto value = [&](const char* key, const QString& v) { out += QByteArray(key) + '\t' + v.toUtf8() + '\n'; };
    value("server", state.server);
    value("book", state.addressBook);
    value("user", state.user);
    value("token", state.syncToken);
    value("certificate", state.acceptedCertificate);
    value("status", state.lastStatus);
    value("followed", state.followedDeletion);
    for (const CardDavEntry& e : state.cards)
        out += entryLine("card", e);
    for (const CardDavEntry& e : state.deletedHere)
        out += entryLine("deleted", e);
    return writeFileAtomic(folder + CardDavState::fileName(), out);
}

Result<QHash<QString, QByteArray>> readFetchedVCards(const QString& folder)
{
    QHash<QString, QByteArray> out;
    if (!QFileInfo::exists(folder + CardDavState::fetchedFileName()))
        return out;
    Result<QByteArray> bytes = readFile(folder + CardDavState::fetchedFileName());
    if (!bytes)
        return bytes.error();
    qsizetype at = 0;
    while (true) {
        const qsizetype begin = bytes->indexOf("BEGIN:VCARD", at);
        if (begin < 0)
            break;
        const qsizetype end = bytes->indexOf("END:VCARD", begin);
        if (end < 0)
            break;
        const QByteArray card = bytes->mid(begin, end + 9 - begin) + "\r\n";
        out.insert(vCardUid(card), card);
        at = end + 9;
    }
    return out;
}

Status writeFetchedVCards(const QString& folder, const QHash<QString, QByteArray>& vcards)
{
    QByteArray out;
    for (const QByteArray& v : vcards)
        out += v;
    return writeFileAtomic(folder + CardDavState::fetchedFileName(), out);
}

Status followDeletionInCardDavState(const QString& folder, long long deleted, long long last, const QString& stamp)
{
    Result<CardDavState> state = readCardDavState(folder);
    if (!state || !state->configured() || state->followedDeletion == stamp)
        return state.status();
    std::vector<CardDavEntry> kept;
    for (CardDavEntry e : state->cards) {
        if (e.card == deleted) {
            state->deletedHere.push_back(e);
            continue;
        }
        if (e.card == last)
            e.card = deleted;
        kept.push_back(e);
    }
    std::sort(kept.begin(), kept.end(), [](auto& a, auto& b) { return a.card < b.card; });
    state->cards = kept;
    state->followedDeletion = stamp;
    return writeCardDavState(folder, *state);
}

}  // namespace tb
