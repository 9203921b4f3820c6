#include "core/exchange/vcard_merge.h"

#include "core/exchange/contact.h"
#include "core/exchange/vcard.h"

#include <QCryptographicHash>
#include <QUuid>
#include <algorithm>

namespace tb {

namespace {

// Roles Tabulon may not own: those of a field the database lacks.
using Roles = QList<VCardRole>;

// A NOTE of ours may hold other fields than the notes one: only the merge
// leaves theirs when the database has no notes field and ours has no NOTE.
Roles rolesWithoutField(const QStringList& captions, bool notes)
{
    Roles without;
    for (const auto& [contactRole, role] :
         {std::pair{ContactRole::Company, VCardRole::Organisation}, {ContactRole::JobTitle, VCardRole::Title},
          {ContactRole::Birthday, VCardRole::Birthday}, {ContactRole::Notes, VCardRole::Note}})
        if (fieldOfRole(contactRole, captions) == 0 && (notes || role != VCardRole::Note))
            without << role;
    return without;
}

bool ownedRole(VCardRole role)
{
    switch (role) {
    case VCardRole::Name: case VCardRole::FullName: case VCardRole::Address: case VCardRole::Landline:
    case VCardRole::Mobile: case VCardRole::Email: case VCardRole::Organisation: case VCardRole::Title:
    case VCardRole::Birthday: case VCardRole::Note: case VCardRole::Photo: case VCardRole::Pin:
        return true;
    default:
        return false;
    }
}

QByteArrayView bytesOf(const QByteArray& vcard, const VCardLine& line)
{
    return QByteArrayView(vcard).sliced(line.begin, line.end - line.begin);
}

// Our line in the place of theirs: in its group ("item1.TEL", which its
// X-ABLABEL names) and preferred when it was, so that reading the merged
// vCard keeps ours where it kept theirs.
QByteArray ourLineFor(const QByteArray& ours, const VCardLine& mine, const VCardLine& their)
{
    const QByteArray bytes = bytesOf(ours, mine).toByteArray();
    const bool preferred = their.preferred && !mine.preferred;
    if (their.group.isEmpty() && !preferred)
        return bytes;
    QByteArray logical = QByteArray(bytes).replace("\r\n ", "");
    logical.chop(2);
    if (preferred) {
        // Our TEL, EMAIL and ADR heads end with their TYPE list.
        const qsizetype colon = logical.indexOf(':');
        if (logical.left(colon).contains(";TYPE="))
            logical.insert(colon, ",PREF");
    }
    if (!their.group.isEmpty())
        logical.prepend(their.group + '.');
    return vCardFolded(logical);
}

QByteArray merged(const QByteArray& ours, const QByteArray& theirs, const QString& uid, const Roles& without)
{
    const std::vector<VCardLine> mine = vCardLines(ours);
    const auto ourLine = [&](VCardRole role) -> const VCardLine* {
        for (const VCardLine& l : mine)
            if (l.role == role)
                return &l;
        return nullptr;
    };
    const QByteArray uidLine = "UID:" + uid.toUtf8() + "\r\n";
    std::vector<VCardLine> lines = vCardLines(theirs);
    const auto has = [](const std::vector<VCardLine>& ls, VCardRole role) {
        return std::any_of(ls.begin(), ls.end(), [role](const VCardLine& l) { return l.role == role; });
    };
    if (!has(lines, VCardRole::Begin) || !has(lines, VCardRole::End)) {
        // Nothing of theirs to keep: ours under the UID.
        QByteArray out;
        const VCardRole after = has(mine, VCardRole::Version) ? VCardRole::Version : VCardRole::Begin;
        for (const VCardLine& l : mine) {
            out += bytesOf(ours, l);
            if (l.role == after)
                out += uidLine;
        }
        return out;
    }
    // Theirs' line ends for what is put in.
    const qsizetype firstEnd = theirs.indexOf('\n');
    const bool crlf = firstEnd > 0 && theirs[firstEnd - 1] == '\r';
    QByteArray out;
    const auto put = [&](QByteArray bytes) { out += crlf ? bytes : bytes.replace("\r\n", "\n"); };
    const auto owned = [&](VCardRole role) {
        return ownedRole(role) && !(without.contains(role) && !ourLine(role));
    };
    const bool hasUid = has(lines, VCardRole::Uid);
    const VCardRole uidAfter = has(lines, VCardRole::Version) ? VCardRole::Version : VCardRole::Begin;
    QList<VCardRole> done;
    for (const VCardLine& line : lines) {
        const VCardRole role = line.role;
        if (role == VCardRole::Uid) {
            if (line.value.trimmed() == uid.toUtf8())
                out += bytesOf(theirs, line);
            else
                put(uidLine);
            continue;
        }
        if (owned(role)) {
            // Ours where theirs was; a second NOTE of theirs goes with the first.
            if (!done.contains(role)) {
                done << role;
                // A value we did not change keeps the phone's line, its TYPE and label with it.
                if (const VCardLine* m = ourLine(role))
                    put(m->value == line.value ? bytesOf(theirs, line).toByteArray() : ourLineFor(ours, *m, line));
            }
            continue;
        }
        if (role == VCardRole::End)
            for (const VCardLine& m : mine)
                if (owned(m.role) && !done.contains(m.role)) {
                    done << m.role;
                    put(bytesOf(ours, m).toByteArray());
                }
        out += bytesOf(theirs, line);
        if (role == uidAfter && !hasUid)
            put(uidLine);
    }
    return out;
}

QByteArray digest(const QByteArray& vcard, const Roles& without)
{
    std::vector<std::pair<VCardRole, QByteArray>> owned;
    for (const VCardLine& line : vCardLines(vcard))
        if (ownedRole(line.role) && !without.contains(line.role))
            owned.emplace_back(line.role, line.role == VCardRole::Photo
                                              ? QByteArray(line.value).replace(' ', "").replace('\t', "")
                                              : line.value);
    // Whatever the order of the lines; several NOTE in theirs.
    std::stable_sort(owned.begin(), owned.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const auto& [role, value] : owned) {
        const char tag = char('A' + int(role));
        hash.addData(QByteArrayView(&tag, 1));
        hash.addData(value);
        hash.addData("\n");
    }
    return hash.result().toHex();
}

}  // namespace

QByteArray mergedVCard(const QByteArray& ours, const QByteArray& theirs, const QString& uid)
{
    return merged(ours, theirs, uid, {});
}

QByteArray mergedVCard(const QByteArray& ours, const QByteArray& theirs, const QString& uid,
                       const QStringList& captions)
{
    return merged(ours, theirs, uid, rolesWithoutField(captions, true));
}

QByteArray vCardDigest(const QByteArray& vcard) { return digest(vcard, {}); }

QByteArray vCardDigest(const QByteArray& vcard, const QStringList& captions)
{
    return digest(vcard, rolesWithoutField(captions, false));
}

QString vCardUid(const QByteArray& vcard)
{
    for (const VCardLine& line : vCardLines(vcard))
        if (line.role == VCardRole::Uid)
            return QString::fromUtf8(line.value.trimmed());
    return QString();
}

QString newCardUid() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

}  // namespace tb
