// Stand-ins for the state file until the core's own lands (branch
// sync-core); removed at that merge.
#include "core/base/safe_write.h"
#include "core/db/carddav_state.h"
#include "core/exchange/vcard_merge.h"

#include <QFileInfo>
#include <algorithm>

namespace tb {

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
