#include "core/db/carddav_state.h"

#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace tb {

namespace {

// One "key=value" a line; a card "card=number TAB uid TAB href TAB etag TAB
// digest". Backslash, tab and line ends escaped so every value stays on its line.
const QString kFirstLine = QStringLiteral("Tabulon CardDAV 1");

QString escaped(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        const QChar c = text[i];
        if (c == u'\\')
            out += u'\\';
        else if (c == u't')
            out += u'\t';
        else if (c == u'n')
            out += u'\n';
        else if (c == u'r')
            out += u'\r';
        else
            return std::nullopt;
    }
    return out;
}

QString entryText(const CardDavEntry& e)
{
    return plainNumber(e.card) + u'\t' + escaped(e.uid) + u'\t' + escaped(e.href) + u'\t' + escaped(e.etag) + u'\t'
           + QString::fromLatin1(e.sentDigest);
}

std::optional<CardDavEntry> entryOf(const QString& text)
{
    const QStringList parts = text.split(u'\t');
    if (parts.size() != 5)
        return std::nullopt;
    CardDavEntry e;
    bool ok = false;
    e.card = parts[0].toLongLong(&ok);
    const auto uid = unescaped(parts[1]), href = unescaped(parts[2]), etag = unescaped(parts[3]);
    const QString& digest = parts[4];
    const bool hex = std::all_of(digest.begin(), digest.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
    });
    if (!ok || e.card < 1 || !uid || uid->isEmpty() || !href || !etag || !hex || (digest.size() != 64 && !digest.isEmpty()))
        return std::nullopt;
    e.uid = *uid;
    e.href = *href;
    e.etag = *etag;
    e.sentDigest = digest.toLatin1();
    return e;
}

void sortByCard(std::vector<CardDavEntry>& entries)
{
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.card < b.card; });
}

Error damaged(const QString& path, qsizetype line)
{
    return Error{kErrorPathAccess,
                 QStringLiteral("état de synchronisation illisible à la ligne %1 : ").arg(line) + path};
}

// Each fetched vCard behind a line "X-TABULON-FETCHED:uid;size", outside
// any card, so that its bytes come back exactly.
const QByteArray kFetchedLine = "X-TABULON-FETCHED:";

}  // namespace

const CardDavEntry* CardDavState::entry(long long card) const
{
    const auto it = std::lower_bound(cards.begin(), cards.end(), card,
                                     [](const CardDavEntry& e, long long n) { return e.card < n; });
    return it != cards.end() && it->card == card ? &*it : nullptr;
}

Result<CardDavState> readCardDavState(const QString& folder)
{
    const QString path = folder + CardDavState::fileName();
    CardDavState state;
    if (!QFileInfo::exists(path))
        return state;
    const Result<QByteArray> bytes = readFile(path);
    if (!bytes)
        return bytes.error();
    QStringList lines = decodePathValue(*bytes).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines[0].chopped(lines[0].endsWith(u'\r') ? 1 : 0) != kFirstLine)
        return damaged(path, 1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype eq = line.indexOf(u'=');
        const QString key = line.left(eq);
        const QString raw = line.mid(eq + 1);
        const std::optional<QString> value = unescaped(raw);
        bool ok = eq > 0 && value.has_value();
        if (!ok) {
        } else if (key == u"card" || key == u"deleted") {
            const std::optional<CardDavEntry> e = entryOf(raw);
            ok = e.has_value();
            if (ok)
                (key == u"card" ? state.cards : state.deletedHere).push_back(*e);
        } else if (key == u"server") {
            state.server = *value;
        } else if (key == u"addressBook") {
            state.addressBook = *value;
        } else if (key == u"user") {
            state.user = *value;
        } else if (key == u"syncToken") {
            state.syncToken = *value;
        } else if (key == u"certificate") {
            state.acceptedCertificate = *value;
        } else if (key == u"atOpening") {
            ok = *value == u"0" || *value == u"1";
            state.atOpening = *value == u"1";
        } else if (key == u"everyMinutes") {
            state.everyMinutes = value->toInt(&ok);
            ok = ok && state.everyMinutes >= 0;
        } else if (key == u"newContactsPoint") {
            const QStringList xy = value->split(u';');
            bool okY = false;
            const double x = xy.value(0).toDouble(&ok), y = xy.value(1).toDouble(&okY);
            ok = xy.size() == 2 && ok && okY && std::isfinite(x) && std::isfinite(y);
            state.newContactsPoint = QPointF(x, y);
        } else if (key == u"lastStatus") {
            state.lastStatus = *value;
        } else if (key == u"followedDeletion") {
            state.followedDeletion = *value;
        } else {
            ok = false;
        }
        if (!ok)
            return damaged(path, i + 1);
    }
    sortByCard(state.cards);
    for (size_t i = 1; i < state.cards.size(); ++i)
        if (state.cards[i].card == state.cards[i - 1].card)
            return Error{kErrorPathAccess,
                         QStringLiteral("état de synchronisation illisible, fiche n° %1 en double : ")
                                 .arg(state.cards[i].card)
                             + path};
    return state;
}

Status writeCardDavState(const QString& folder, const CardDavState& state)
{
    QString text = kFirstLine + QStringLiteral("\r\n");
    const auto put = [&](const char* key, const QString& value) {
        text += QLatin1String(key) + u'=' + escaped(value) + QStringLiteral("\r\n");
    };
    put("server", state.server);
    put("addressBook", state.addressBook);
    put("user", state.user);
    put("syncToken", state.syncToken);
    put("certificate", state.acceptedCertificate);
    put("atOpening", state.atOpening ? QStringLiteral("1") : QStringLiteral("0"));
    put("everyMinutes", QString::number(state.everyMinutes));
    if (state.newContactsPoint)
        put("newContactsPoint", QString::number(state.newContactsPoint->x(), 'g', 17) + u';'
                                    + QString::number(state.newContactsPoint->y(), 'g', 17));
    put("lastStatus", state.lastStatus);
    put("followedDeletion", state.followedDeletion);
    std::vector<CardDavEntry> cards = state.cards;
    sortByCard(cards);
    for (const CardDavEntry& e : cards)
        text += QStringLiteral("card=") + entryText(e) + QStringLiteral("\r\n");
    for (const CardDavEntry& e : state.deletedHere)
        text += QStringLiteral("deleted=") + entryText(e) + QStringLiteral("\r\n");
    return writeFileAtomic(folder + CardDavState::fileName(), encodePathValue(text));
}

Result<QHash<QString, QByteArray>> readFetchedVCards(const QString& folder)
{
    const QString path = folder + CardDavState::fetchedFileName();
    QHash<QString, QByteArray> vcards;
    if (!QFileInfo::exists(path))
        return vcards;
    const Result<QByteArray> bytes = readFile(path);
    if (!bytes)
        return bytes.error();
    qsizetype at = 0, line = 1;
    while (at < bytes->size()) {
        const qsizetype end = bytes->indexOf("\r\n", at);
        const QByteArrayView head = QByteArrayView(*bytes).sliced(at, (end < 0 ? bytes->size() : end) - at);
        const qsizetype semicolon = head.lastIndexOf(';');
        bool ok = end >= 0 && head.startsWith(kFetchedLine) && semicolon > kFetchedLine.size();
        const qsizetype size = ok ? head.sliced(semicolon + 1).toLongLong(&ok) : 0;
        const qsizetype from = end + 2;
        if (!ok || size < 0 || size > bytes->size() - from - 2 || bytes->mid(from + size, 2) != "\r\n")
            return damaged(path, line);
        const QString uid = QString::fromUtf8(head.sliced(kFetchedLine.size(), semicolon - kFetchedLine.size()));
        vcards.insert(uid, bytes->mid(from, size));
        line += 1 + bytes->mid(from, size).count('\n') + 1;
        at = from + size + 2;
    }
    return vcards;
}

Status writeFetchedVCards(const QString& folder, const QHash<QString, QByteArray>& vcards)
{
    QStringList uids = vcards.keys();
    uids.sort();
    AtomicFileWriter out(folder + CardDavState::fetchedFileName());
    for (const QString& uid : uids) {
        const QByteArray& vcard = vcards[uid];
        out.append(kFetchedLine + uid.toUtf8() + ';' + QByteArray::number(vcard.size()) + "\r\n");
        out.append(vcard);
        out.append("\r\n");
    }
    return out.commit();
}

Status followDeletionInCardDavState(const QString& folder, long long deleted, long long last, const QString& stamp)
{
    if (!QFileInfo::exists(folder + CardDavState::fileName()))
        return {};
    Result<CardDavState> read = readCardDavState(folder);
    // A state that cannot be read stops the sync, not the deletion.
    if (!read)
        return {};
    CardDavState& state = *read;
    if (!stamp.isEmpty() && state.followedDeletion == stamp)
        return {};
    std::vector<CardDavEntry> cards;
    for (CardDavEntry& e : state.cards) {
        if (e.card == deleted) {
            state.deletedHere.push_back(e);
            continue;
        }
        if (e.card == last)
            e.card = deleted;
        cards.push_back(e);
    }
    sortByCard(cards);
    state.cards = std::move(cards);
    state.followedDeletion = stamp;
    return writeCardDavState(folder, state);
}

}  // namespace tb
