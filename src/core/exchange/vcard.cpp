#include "core/exchange/vcard.h"
#include "core/cards/side_files.h"

#include "core/base/byte_runs.h"
#include "core/base/codepage.h"
#include "core/cards/record_bytes.h"
#include "core/cards/records_in_two.h"
#include "core/exchange/chosen_record.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/db/database.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>

namespace tb {

namespace {

// ---- Writing ----

// Lines of at most 75 bytes, continued after CR LF and a blank, never inside
// a UTF-8 sequence; written from out (room for size and 3 bytes for every 74),
// returns the end of what was written.
constexpr qsizetype kFoldWidth = 75;

char* putFolded(char* out, const char* line, qsizetype size)
{
    constexpr qsizetype kWidth = kFoldWidth;
    qsizetype start = 0;
    qsizetype room = kWidth;
    while (size - start > room) {
        qsizetype cut = start + room;
        while (cut > start && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out = std::copy(line + start, line + cut, out);
        out = std::copy_n("\r\n ", 3, out);
        start = cut;
        room = kWidth - 1;
    }
    out = std::copy(line + start, line + size, out);
    return std::copy_n("\r\n", 2, out);
}

const char* photoType(const QByteArray& photo)
{
    if (photo.startsWith("\x89PNG"))
        return "PNG";
    if (photo.startsWith("GIF8"))
        return "GIF";
    if (photo.startsWith("BM"))
        return "BMP";
    return "JPEG";
}

// ---- Reading ----

// What a file may hold: beyond these a line, a value or a card is reported
// and skipped, so that no file can exhaust the memory or stall the import.
constexpr qsizetype kMaxLineBytes = 16 << 20;  // a photo of 12 Mo in base64
constexpr qsizetype kMaxValueBytes = 64 << 10; // any other value
constexpr qsizetype kMaxPropertiesPerCard = 10000;
constexpr qsizetype kMaxNotesPerContact = 200;
constexpr int kMaxAgentDepth = 4;
constexpr size_t kMaxContacts = 1'000'000;

struct Property {
    QByteArray group;    // upper case, empty when none
    QByteArray name;     // upper case, group removed
    QStringList types;   // lower case, from TYPE= and bare 2.1 parameters
    int pref = 101;      // 1 the most preferred (PREF=1, TYPE=pref), 101 none
    QByteArray encoding;
    QByteArray charset;
    QByteArray valueType;
    QByteArray omitYear; // Apple's year written for a birthday without one
    QString label;       // the LABEL parameter of a 4.0 address
    QByteArray value;    // as in the file, then quoted-printable decoded
    qsizetype line = 0;
};

struct LogicalLine {
    QByteArray text;
    qsizetype number = 0;  // of its first physical line, from 1
    bool tooLong = false;
    qsizetype begin = 0, end = 0;  // its bytes, line ends included
};

bool headSays(QByteArrayView head, const char* what)
{
    return QByteArray(head.data(), head.size()).toUpper().contains(what);
}

// Logical lines: folded lines joined, quoted-printable soft breaks joined,
// and the bare continuation lines some phones write under a base64 photo.
// Each byte is looked at a bounded number of times, whatever the file.
class LineSource {
public:
    explicit LineSource(QByteArrayView bytes) : m_bytes(bytes) {}

    bool next(LogicalLine& out)
    {
        QByteArrayView line;
        if (m_hasPending) {
            line = m_pending;
            m_hasPending = false;
            out.begin = m_pendingBegin;
        } else if (!physical(line)) {
            return false;
        } else {
            out.begin = m_lastBegin;
        }
        out.text.clear();
        out.number = m_number;
        out.tooLong = false;
        qsizetype colon = -1;
        bool qp = false, b64 = false;
        const auto classify = [&](qsizetype from) {
            if (colon >= 0)
                return;
            const qsizetype c = out.text.indexOf(':', from);
            if (c < 0)
                return;
            colon = c;
            const QByteArrayView head(out.text.constData(), c);
            qp = headSays(head, "QUOTED-PRINTABLE");
            b64 = headSays(head, "ENCODING=B") || headSays(head, "BASE64");
        };
        const auto append = [&](QByteArrayView part) {
            if (out.tooLong || out.text.size() + part.size() > kMaxLineBytes) {
                // Its start is kept, to name it in the report.
                if (!out.tooLong && out.text.size() < 64)
                    out.text.append(part.first(std::min<qsizetype>(64 - out.text.size(), part.size())));
                out.tooLong = true;
                return;
            }
            const qsizetype from = out.text.size();
            out.text.append(part);
            classify(from);
        };
        append(line);
        QByteArrayView more;
        while (physical(more)) {
            if (qp && out.text.endsWith('=')) {
                out.text.chop(1);
                append(more);
            } else if (!more.isEmpty() && (more[0] == ' ' || more[0] == '\t')) {
                append(more.sliced(1));
            } else if (b64 && !more.isEmpty() && !more.contains(':')) {
                append(more);
            } else {
                m_pending = more;
                m_pendingBegin = m_lastBegin;
                m_hasPending = true;
                break;
            }
        }
        out.end = m_hasPending ? m_pendingBegin : std::min(m_pos, m_bytes.size());
        return true;
    }

private:
    bool physical(QByteArrayView& line)
    {
        if (m_pos >= m_bytes.size())
            return false;
        qsizetype end = m_bytes.indexOf('\n', m_pos);
        if (end < 0)
            end = m_bytes.size();
        line = m_bytes.sliced(m_pos, end - m_pos);
        if (line.endsWith('\r'))
            line.chop(1);
        m_lastBegin = m_pos;
        m_pos = end + 1;
        ++m_number;
        return true;
    }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    qsizetype m_number = 0;  // physical lines read, so the pending one's number
    // The line read past the end of a logical line: the next one's start.
    QByteArrayView m_pending;
    qsizetype m_pendingBegin = 0;
    qsizetype m_lastBegin = 0;  // of the last physical line read
    bool m_hasPending = false;
};

// Splits on sep outside double quotes.
QList<QByteArray> splitOutsideQuotes(QByteArrayView text, char sep)
{
    QList<QByteArray> parts;
    QByteArray part;
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == sep && !quoted) {
            parts.append(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.append(part);
    return parts;
}

// RFC 6868: ^n a line break, ^' a double quote, ^^ a caret.
QByteArray caretDecoded(const QByteArray& value)
{
    if (!value.contains('^'))
        return value;
    QByteArray out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '^' && i + 1 < value.size()) {
            const char next = value[i + 1];
            if (next == 'n' || next == 'N' || next == '\'' || next == '^') {
                out += next == '\'' ? '"' : (next == '^' ? '^' : '\n');
                ++i;
                continue;
            }
        }
        out += value[i];
    }
    return out;
}

std::optional<Property> parseLine(const QByteArray& line)
{
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon <= 0)
        return std::nullopt;
    Property p;
    p.value = line.mid(colon + 1);
    const QList<QByteArray> head = splitOutsideQuotes(QByteArrayView(line).first(colon), ';');
    p.name = head[0].trimmed().toUpper();
    if (const qsizetype dot = p.name.lastIndexOf('.'); dot >= 0) {
        p.group = p.name.left(dot);
        p.name = p.name.mid(dot + 1);
    }
    if (p.name.isEmpty())
        return std::nullopt;
    for (qsizetype i = 1; i < head.size(); ++i) {
        QByteArray param = head[i].trimmed();
        const qsizetype eq = param.indexOf('=');
        const QByteArray key = eq < 0 ? QByteArray() : param.left(eq).trimmed().toUpper();
        QByteArray value = eq < 0 ? param : param.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        value = caretDecoded(value);
        const QByteArray upper = value.toUpper();
        if (key == "ENCODING" || (key.isEmpty() && (upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B")))
            p.encoding = upper;
        else if (key == "CHARSET")
            p.charset = value;
        else if (key == "VALUE")
            p.valueType = value.toLower();
        else if (key == "PREF") {
            bool ok = false;
            const int n = value.toInt(&ok);
            p.pref = ok && n >= 1 && n <= 100 ? n : 1;
        } else if (key == "LABEL")
            p.label = QString::fromUtf8(value);
        else if (key == "X-APPLE-OMIT-YEAR")
            p.omitYear = value;
        else if (key == "TYPE" || key.isEmpty())
            for (const QByteArray& t : value.split(',')) {
                const QString type = QString::fromLatin1(t.trimmed().toLower());
                if (type == u"pref")
                    p.pref = std::min(p.pref, 1);
                else if (!type.isEmpty())
                    p.types << type;
            }
    }
    return p;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray quotedPrintableDecoded(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
            out += char(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// A value with its backslash escapes decoded: \n a line break, \, \; \\ and
// \: the character; any other backslash stays.
QString unescaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (next == u'n' || next == u'N') {
                out += u'\n';
                ++i;
                continue;
            }
            if (next == u'\\' || next == u',' || next == u';' || next == u':') {
                out += next;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The components of a structured value (N, ADR, ORG) split on the
// semicolons that are not escaped; with listsAsBlanks, the commas that
// separate the values of one component become blanks ("Philip,Paul").
QStringList components(const QString& text, bool listsAsBlanks = false)
{
    QStringList parts;
    qsizetype from = 0;
    QString part;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            ++i;
        } else if (text[i] == u';' || (listsAsBlanks && text[i] == u',')) {
            part += unescaped(QStringView(text).sliced(from, i - from));
            from = i + 1;
            if (text[i] == u';') {
                parts << (listsAsBlanks ? part.simplified() : part);
                part.clear();
            } else {
                part += u' ';
            }
        }
    }
    part += unescaped(QStringView(text).sliced(from));
    parts << (listsAsBlanks ? part.simplified() : part);
    if (!listsAsBlanks)
        for (QString& p : parts)
            p = p.trimmed();
    return parts;
}

bool isParticle(const QString& word)
{
    static const QStringList particles = {
        QStringLiteral("de"),  QStringLiteral("du"),  QStringLiteral("des"), QStringLiteral("la"),
        QStringLiteral("le"),  QStringLiteral("van"), QStringLiteral("von"), QStringLiteral("der"),
        QStringLiteral("den"), QStringLiteral("di"),  QStringLiteral("da"),  QStringLiteral("del"),
        QStringLiteral("dos"), QStringLiteral("ter")};
    return particles.contains(word.toLower());
}

// An address written as on an envelope: street lines, "75001 Paris",
// perhaps the country last.
struct LabelAddress {
    QString street, postalCode, city, country;
};

std::optional<LabelAddress> addressOfLabel(const QString& label)
{
    QStringList lines;
    for (const QString& line : label.split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.simplified();
    if (lines.size() == 1)
        lines = lines[0].split(u',', Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    if (lines.isEmpty())
        return std::nullopt;
    static const QRegularExpression codeCity(QStringLiteral("^((?:\\d{4,5})|(?:2[AB]\\d{3}))\\s+(.+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    LabelAddress a;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QRegularExpressionMatch m = codeCity.match(lines[i]);
        if (!m.hasMatch())
            continue;
        a.postalCode = m.captured(1);
        a.city = m.captured(2);
        a.street = lines.mid(0, i).join(QStringLiteral(", "));
        a.country = lines.mid(i + 1).join(QStringLiteral(", "));
        return a;
    }
    a.street = lines.join(QStringLiteral(", "));
    return a;
}

// The custom field a NOTE line "caption: value" names, 0 when none.
int fieldOfNoteLine(const QString& line, const QStringList& captions)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon <= 0)
        return 0;
    const QString key = captionKey(line.left(colon));
    for (CardField k = kFieldFirstCustom; k <= kFieldLast && !key.isEmpty(); ++k)
        if (captionKey(captions.value(k - 2)) == key)
            return k;
    return 0;
}

struct KeptLines {
    qsizetype landline = -1, mobile = -1, email = -1, address = -1;
};

struct Candidate {
    QString value;
    std::array<int, 3> rank;  // the lowest is kept
    qsizetype order = 0;
    QString what;             // how the report names the ones not kept
    QString country;          // of an address
    bool work = false;
    qsizetype line = 0;       // of its property
};

// One card's properties made into a contact.
class CardBuilder {
public:
    CardBuilder(const QStringList& captions, std::map<QByteArray, QStringDecoder>& decoders)
        : m_captions(captions), m_decoders(decoders)
    {
        m_companyField = fieldOfRole(ContactRole::Company, captions);
        m_jobField = fieldOfRole(ContactRole::JobTitle, captions);
        m_birthdayField = fieldOfRole(ContactRole::Birthday, captions);
        m_notesField = fieldOfRole(ContactRole::Notes, captions);
    }

    // agents: the vCards written inside this one as a text value (3.0 AGENT).
    Contact build(std::vector<Property>& properties, QStringList remarks, QStringList* agents)
    {
        m_contact = Contact();
        m_contact.remarks = std::move(remarks);
        m_agents = agents;
        m_haveName = false;
        m_given.clear();
        m_additional.clear();
        m_formatted.clear();
        m_organisation.clear();
        m_landlines.clear();
        m_mobiles.clear();
        m_emails.clear();
        m_addresses.clear();
        m_labels.clear();
        m_freeNotes.clear();
        m_mobileGroups.clear();
        m_kept = KeptLines();
        m_utf8 = true;
        for (Property& p : properties) {
            if (binary(p))
                continue;
            if (p.encoding == "QUOTED-PRINTABLE")
                p.value = quotedPrintableDecoded(p.value);
            if (m_utf8 && !isValidUtf8(p.value))
                m_utf8 = false;
            if (p.name == "X-ABLABEL") {
                const QString label = QString::fromUtf8(p.value).toLower();
                if (label.contains(u"mobile") || label.contains(u"portable") || label.contains(u"cell"))
                    m_mobileGroups << p.group;
            }
        }
        for (const Property& p : properties) {
            if (!binary(p) && p.value.size() > kMaxValueBytes) {
                notKept(QString::fromLatin1(p.name.toLower()),
                        QStringLiteral("valeur de plus de 64 Ko à la ligne ") + QString::number(p.line));
                continue;
            }
            take(p);
        }
        return finish();
    }

    // The lines of the landline, mobile, e-mail and address the last build kept.
    const KeptLines& kept() const { return m_kept; }

private:
    static bool binary(const Property& p)
    {
        return p.name == "PHOTO" || p.name == "LOGO" || p.name == "SOUND" || p.name == "KEY";
    }

    QString text(const Property& p)
    {
        QString decoded;
        if (m_utf8) {
            decoded = QString::fromUtf8(p.value);
        } else {
            if (!p.charset.isEmpty()) {
                auto it = m_decoders.find(p.charset.toUpper());
                if (it == m_decoders.end() && m_decoders.size() < 16)
                    it = m_decoders.emplace(p.charset.toUpper(), QStringDecoder(p.charset.constData())).first;
                if (it != m_decoders.end() && it->second.isValid()) {
                    it->second.resetState();
                    decoded = it->second.decode(p.value);
                    if (it->second.hasError())
                        decoded = QString();
                }
            }
            if (decoded.isNull())
                decoded = fromCp1252(p.value);
        }
        decoded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        decoded.replace(u'\r', u'\n');
        return decoded;
    }

    void notKept(const QString& what, const QString& value)
    {
        if (value.trimmed().isEmpty())
            return;
        if (m_contact.notKept.size() < kMaxNotesPerContact)
            m_contact.notKept << what + QStringLiteral(" : ") + QString(value).replace(u'\n', u' ').simplified();
        else if (m_contact.notKept.size() == kMaxNotesPerContact)
            m_contact.notKept << QStringLiteral("et d'autres éléments (plus de 200)");
    }

    void keepFirst(int k, const QString& value, const QString& what)
    {
        if (k && m_contact.field(CardField(k)).isEmpty())
            m_contact.field(CardField(k)) = value;
        else
            notKept(what, value);
    }

    void add(std::vector<Candidate>& list, Candidate c)
    {
        if (c.value.trimmed().isEmpty())
            return;
        c.order = qsizetype(list.size());
        c.line = m_takenLine;
        list.push_back(std::move(c));
    }

    static int homeRank(const Property& p)
    {
        if (p.types.contains(QStringLiteral("home")))
            return 0;
        return p.types.contains(QStringLiteral("work")) ? 2 : 1;
    }

    void take(const Property& p)
    {
        m_takenLine = p.line;
        const QByteArray& name = p.name;
        if (name == "N") {
            const QStringList c = components(text(p), true);
            m_haveName = true;
            m_contact.field(kFieldSurname) = c.value(0);
            m_given = c.value(1);
            m_additional = c.value(2);
            m_contact.field(kFieldCivility) = c.value(3);
            notKept(QStringLiteral("suffixe du nom"), c.value(4));
        } else if (name == "FN") {
            m_formatted = unescaped(text(p)).simplified();
        } else if (name == "ORG") {
            QStringList parts = components(text(p));
            parts.removeAll(QString());
            if (m_organisation.isEmpty())
                m_organisation = parts.join(QStringLiteral(", "));
            else
                notKept(QStringLiteral("autre société"), parts.join(QStringLiteral(", ")));
        } else if (name == "TITLE" || name == "ROLE") {
            keepFirst(m_jobField, unescaped(text(p)).simplified(),
                      name == "TITLE" ? QStringLiteral("fonction") : QStringLiteral("rôle"));
        } else if (name == "BDAY") {
            QString day = unescaped(text(p)).trimmed();
            if (!p.omitYear.isEmpty() && day.startsWith(QString::fromLatin1(p.omitYear)))
                day = QStringLiteral("--") + day.mid(p.omitYear.size()).remove(u'-');
            keepFirst(m_birthdayField, birthdayText(day), QStringLiteral("date de naissance"));
        } else if (name == "TEL") {
            QString number = unescaped(text(p)).trimmed();
            if (number.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            const QStringList& t = p.types;
            if (t.contains(QStringLiteral("fax")))
                notKept(QStringLiteral("télécopie"), number);
            else if (t.contains(QStringLiteral("pager")))
                notKept(QStringLiteral("récepteur d'appel"), number);
            else if (t.contains(QStringLiteral("cell")) || t.contains(QStringLiteral("mobile"))
                     || t.contains(QStringLiteral("iphone")) || t.contains(QStringLiteral("x-mobile"))
                     || t.contains(QStringLiteral("cellular")) || (!p.group.isEmpty() && m_mobileGroups.contains(p.group)))
                add(m_mobiles, {number, {p.pref, 0, 0}, 0, QStringLiteral("autre portable"), {}, false});
            else
                add(m_landlines, {number, {p.pref, homeRank(p), 0}, 0, QStringLiteral("autre téléphone"), {}, false});
        } else if (name == "ADR") {
            takeAddress(p, components(text(p)));
        } else if (name == "LABEL") {
            add(m_labels, {unescaped(text(p)), {homeRank(p) == 2 ? 1 : 0, p.pref, homeRank(p)}, 0, {}, {},
                           homeRank(p) == 2});
        } else if (name == "EMAIL") {
            add(m_emails, {unescaped(text(p)).trimmed(), {p.pref, 0, 0}, 0, QStringLiteral("autre adresse e-mail"), {}, false});
        } else if (name == "NOTE") {
            takeNote(unescaped(text(p)));
        } else if (name == "PHOTO") {
            takePhoto(p);
        } else if (name == "AGENT") {
            const QString value = unescaped(text(p)).trimmed();
            if (value.startsWith(QStringLiteral("BEGIN:VCARD"), Qt::CaseInsensitive) && m_agents)
                *m_agents << value;
            else
                notKept(QStringLiteral("agent"), value);
        } else if (name == "X-TABULON-PIN") {
            takePin(text(p));
        } else {
            // Technical properties that hold nothing of the person.
            static const QList<QByteArray> ignored = {
                "VERSION", "PRODID", "REV", "UID", "KIND", "SOURCE", "NAME", "PROFILE", "CLASS", "SORT-STRING",
                "CLIENTPIDMAP", "MAILER", "TZ", "X-ABUID", "X-ABADR", "X-ABLABEL", "X-ABSHOWAS", "X-MOZILLA-HTML",
                "X-EVOLUTION-FILE-AS", "X-EVOLUTION-BLOG-URL", "X-EVOLUTION-LIST", "X-EVOLUTION-LIST-SHOW_ADDRESSES",
                "X-PHONETIC-FIRST-NAME", "X-PHONETIC-LAST-NAME", "X-ANDROID-CUSTOM", "X-MS-OL-DEFAULT-POSTAL-ADDRESS",
                "X-MS-CARDPICTURE", "X-WAB-GENDER", "X-IMAGETYPE", "X-IMAGEHASH", "BEGIN", "END", "XML", "GENDER"};
            static const QHash<QByteArray, QString> named = {
                {"URL", QStringLiteral("site")},         {"NICKNAME", QStringLiteral("surnom")},
                {"ANNIVERSARY", QStringLiteral("anniversaire")}, {"IMPP", QStringLiteral("messagerie")},
                {"CATEGORIES", QStringLiteral("catégories")},     {"GEO", QStringLiteral("position")},
                {"RELATED", QStringLiteral("relation")},  {"LANG", QStringLiteral("langue")},
                {"MEMBER", QStringLiteral("membre")},     {"FBURL", QStringLiteral("agenda")},
            };
            if (ignored.contains(name))
                return;
            const auto it = named.find(name);
            notKept(it != named.end() ? *it : QString::fromLatin1(name.toLower()), unescaped(text(p)));
        }
    }

    void takeAddress(const Property& p, const QStringList& c)
    {
        QStringList streetParts;
        for (int i : {2, 1, 0})
            if (!c.value(i).isEmpty())
                streetParts << c.value(i).split(u'\n', Qt::SkipEmptyParts).join(QStringLiteral(", "));
        Candidate a;
        a.work = homeRank(p) == 2;
        a.rank = {a.work ? 1 : 0, p.pref, homeRank(p)};
        a.country = c.value(6);
        if (streetParts.isEmpty() && c.value(3).isEmpty() && c.value(5).isEmpty() && !p.label.trimmed().isEmpty()) {
            // 4.0: the address given only as its label.
            add(m_labels, {p.label, a.rank, 0, {}, {}, a.work});
            return;
        }
        // Street, postal code, city, region, kept as one text until chosen.
        a.value = streetParts.join(QStringLiteral(", ")) + u'\x1f' + c.value(5) + u'\x1f' + c.value(3) + u'\x1f'
                  + c.value(4);
        if (a.value.size() > 3 || !a.country.isEmpty())
            add(m_addresses, a);
    }

    // Lines "caption: value" go to the field of that caption, the others to
    // the notes' field.
    void takeNote(const QString& note)
    {
        for (const QString& line : note.split(u'\n')) {
            if (line.trimmed().isEmpty())
                continue;
            if (const int field = fieldOfNoteLine(line, m_captions)) {
                QString value = line.mid(line.indexOf(u':') + 1);
                if (value.startsWith(u' '))
                    value.remove(0, 1);
                keepFirst(field, value, QStringLiteral("note"));
                continue;
            }
            m_freeNotes << line.trimmed();
        }
    }

    void takePhoto(const Property& p)
    {
        QByteArray value = p.value.trimmed();
        const bool inline64 = value.startsWith("data:");
        if (inline64)
            value = value.mid(value.indexOf(',') + 1);
        if (!inline64 && p.encoding != "B" && p.encoding != "BASE64") {
            notKept(QStringLiteral("photo (adresse)"), QString::fromUtf8(value.left(200)));
            return;
        }
        if (!m_contact.photo.isEmpty()) {
            notKept(QStringLiteral("photo"), QStringLiteral("une seconde photo"));
            return;
        }
        value.replace(' ', QByteArray()).replace('\t', QByteArray());
        m_contact.photo = QByteArray::fromBase64(value);
    }

    void takePin(QString value)
    {
        // Servers that store the vCard through a generic writer send the
        // unknown property's ";" escaped.
        value.replace(QStringLiteral("\\;"), QStringLiteral(";"));
        const QStringList c = value.split(u';');
        bool okX = false, okY = false;
        const double x = c.value(1).trimmed().toDouble(&okX), y = c.value(2).trimmed().toDouble(&okY);
        const QString marker = c.value(0).trimmed();
        const bool okMarker = marker.isEmpty() || (marker.size() == 1 && marker[0].isDigit() && marker[0].unicode() < 128);
        // Within what field 1 can hold after its marker.
        if (c.size() != 3 || !okMarker || !okX || !okY || !std::isfinite(x) || !std::isfinite(y)
            || positionText(x, y).size() > CardRecord::kWidths[0] - 1) {
            notKept(QStringLiteral("épingle illisible"), value);
            return;
        }
        m_contact.pin = ContactPin{marker.isEmpty() ? QChar(u' ') : marker[0], x, y};
    }

    // The best of list (lowest rank, then first in the file); the others reported.
    const Candidate* choose(const std::vector<Candidate>& list)
    {
        const Candidate* best = nullptr;
        for (const Candidate& c : list)
            if (!best || std::tie(c.rank, c.order) < std::tie(best->rank, best->order))
                best = &c;
        return best;
    }

    void placeBest(const std::vector<Candidate>& list, int field)
    {
        const Candidate* best = choose(list);
        for (const Candidate& c : list)
            if (&c != best)
                notKept(c.what, c.value);
        if (best) {
            m_contact.field(CardField(field)) = best->value;
            (field == kFieldLandline ? m_kept.landline : field == kFieldMobile ? m_kept.mobile : m_kept.email) =
                best->line;
        }
    }

    void placeAddress()
    {
        const auto otherAddress = [&](const QStringList& parts, const QString& country) {
            QStringList whole;
            whole << parts.value(0) << (parts.value(1) + u' ' + parts.value(2)).trimmed() << country;
            whole.removeAll(QString());
            notKept(QStringLiteral("autre adresse"), whole.join(QStringLiteral(", ")));
        };
        const Candidate* best = choose(m_addresses);
        for (const Candidate& c : m_addresses)
            if (&c != best)
                otherAddress(c.value.split(u'\x1f'), c.country);
        QStringList parts;
        QString country;
        bool work = false;
        if (best) {
            parts = best->value.split(u'\x1f');
            country = best->country;
            work = best->work;
            m_kept.address = best->line;
        } else if (const Candidate* label = choose(m_labels)) {
            if (const std::optional<LabelAddress> a = addressOfLabel(label->value)) {
                parts = {a->street, a->postalCode, a->city, QString()};
                country = a->country;
                work = label->work;
                m_contact.remarks << QStringLiteral("adresse lue dans son étiquette (LABEL)");
            }
        }
        if (parts.isEmpty())
            return;
        m_contact.field(kFieldStreet) = parts.value(0);
        m_contact.field(kFieldPostalCode) = parts.value(1);
        m_contact.field(kFieldCity) = parts.value(2);
        m_contact.country = country;
        notKept(QStringLiteral("région"), parts.value(3));
        if (!country.isEmpty() && !isFrance(country))
            notKept(QStringLiteral("pays"), country);
        if (work)
            m_contact.remarks << QStringLiteral("adresse du travail reprise, aucune adresse personnelle");
    }

    void placeNames()
    {
        Contact& c = m_contact;
        QString rest;
        c.field(kFieldFirstNames) =
            firstNamesFitting(m_given, m_additional, CardRecord::kWidths[kFieldFirstNames - 1], &rest);
        notKept(QStringLiteral("autres prénoms"), rest);
        const bool named = !c.field(kFieldSurname).isEmpty() || !c.field(kFieldFirstNames).isEmpty();
        bool companyIsName = false;
        if (!named && !m_formatted.isEmpty()) {
            if (!m_organisation.isEmpty() && captionKey(m_formatted) == captionKey(m_organisation)) {
                companyIsName = true;
            } else if (!m_formatted.contains(u'@')) {
                // No name but the full one: the last word is the surname, with
                // its particles ("de la Fontaine"); "Dupont, Jean" is surname first.
                if (const qsizetype comma = m_formatted.indexOf(u','); comma > 0) {
                    c.field(kFieldSurname) = m_formatted.left(comma).trimmed();
                    c.field(kFieldFirstNames) = m_formatted.mid(comma + 1).trimmed();
                } else {
                    const QStringList words = m_formatted.split(u' ', Qt::SkipEmptyParts);
                    qsizetype start = words.size() - 1;
                    while (start > 1 && isParticle(words[start - 1]))
                        --start;
                    c.field(kFieldSurname) = words.mid(start).join(u' ');
                    c.field(kFieldFirstNames) = words.mid(0, start).join(u' ');
                }
                if (!m_haveName)
                    c.remarks << QStringLiteral("nom et prénoms pris du nom complet « ") + m_formatted
                                     + QStringLiteral(" »");
            }
        } else if (!named && !m_organisation.isEmpty() && !m_companyField) {
            companyIsName = true;
        }
        if (companyIsName) {
            c.field(kFieldSurname) = m_organisation;
            c.remarks << QStringLiteral("fiche d'une société : son nom « ") + m_organisation
                             + QStringLiteral(" » est pris comme nom");
        }
        if (m_companyField)
            keepFirst(m_companyField, m_organisation, QStringLiteral("société"));
        else if (!companyIsName)
            notKept(QStringLiteral("société"), m_organisation);
    }

    Contact finish()
    {
        placeNames();
        placeBest(m_landlines, kFieldLandline);
        placeBest(m_mobiles, kFieldMobile);
        placeBest(m_emails, kFieldEmail);
        placeAddress();
        if (!m_freeNotes.isEmpty()) {
            if (m_notesField && m_contact.field(CardField(m_notesField)).isEmpty())
                m_contact.field(CardField(m_notesField)) = m_freeNotes.join(u' ');
            else
                for (const QString& line : std::as_const(m_freeNotes))
                    notKept(QStringLiteral("note"), line);
        }
        return std::move(m_contact);
    }

    QStringList m_captions;
    std::map<QByteArray, QStringDecoder>& m_decoders;
    int m_companyField = 0, m_jobField = 0, m_birthdayField = 0, m_notesField = 0;
    Contact m_contact;
    QStringList* m_agents = nullptr;
    bool m_utf8 = true;
    bool m_haveName = false;
    QString m_given, m_additional;
    QString m_formatted;
    QString m_organisation;
    std::vector<Candidate> m_landlines, m_mobiles, m_emails, m_addresses, m_labels;
    QStringList m_freeNotes;
    QList<QByteArray> m_mobileGroups;
    KeptLines m_kept;
    qsizetype m_takenLine = 0;
};

// The bytes as UTF-8 when they are UTF-16 (with or without a byte order
// mark, as macOS writes them), otherwise as they are, less a UTF-8 mark.
QByteArray asUtf8Bytes(const QByteArray& bytes, QStringList* notes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    std::optional<QStringConverter::Encoding> utf16;
    if (bytes.startsWith("\xFF\xFE"))
        utf16 = QStringConverter::Utf16LE;
    else if (bytes.startsWith("\xFE\xFF"))
        utf16 = QStringConverter::Utf16BE;
    else if (bytes.size() >= 4) {
        // "BEGIN" as UTF-16: every other byte is zero.
        int evenZeros = 0, oddZeros = 0;
        const qsizetype probe = std::min<qsizetype>(bytes.size() & ~qsizetype(1), 64);
        for (qsizetype i = 0; i < probe; ++i)
            (i % 2 ? oddZeros : evenZeros) += bytes[i] == '\0';
        if (oddZeros > probe / 4 && evenZeros == 0)
            utf16 = QStringConverter::Utf16LE;
        else if (evenZeros > probe / 4 && oddZeros == 0)
            utf16 = QStringConverter::Utf16BE;
    }
    if (!utf16) {
        // A file of CR line ends only (old Macintosh).
        if (!bytes.contains('\n') && bytes.contains('\r'))
            return QByteArray(bytes).replace('\r', '\n');
        return bytes;
    }
    QStringDecoder decoder(*utf16, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (bytes.size() % 2 && notes)
        *notes << QStringLiteral("Fichier en UTF-16 dont le dernier octet manque");
    QByteArray utf8 = text.toUtf8();
    if (utf8.startsWith("\xEF\xBB\xBF"))
        utf8.remove(0, 3);
    return utf8;
}

class Reader {
public:
    explicit Reader(const QStringList& captions) : m_builder(captions, m_decoders) {}

    // Appends the contacts of bytes to reading, agents depth levels down.
    void read(QByteArrayView bytes, VCardReading& reading, int depth)
    {
        struct Open {
            std::vector<Property> properties;
            size_t slot = 0;
            qsizetype line = 0;
            qsizetype unreadable = 0;
            qsizetype beyond = 0;
            QStringList tooLong;
            QString firstUnreadable;
            QString agentOf;
        };
        std::vector<Open> open;
        qsizetype outside = 0, outsideFirst = 0;
        QStringList agents;
        const auto close = [&](Open& card, bool ended) {
            QStringList remarks;
            if (!ended)
                remarks << QStringLiteral("fiche non terminée (END:VCARD manquant) à partir de la ligne ")
                               + QString::number(card.line);
            if (!card.agentOf.isEmpty())
                remarks << QStringLiteral("contact joint à la fiche de ") + card.agentOf;
            agents.clear();
            Contact c = m_builder.build(card.properties, remarks, depth < kMaxAgentDepth ? &agents : nullptr);
            if (card.unreadable)
                c.notKept << QString::number(card.unreadable) + QStringLiteral(" ligne(s) illisible(s), dont : ")
                                 + card.firstUnreadable;
            for (const QString& what : std::as_const(card.tooLong))
                c.notKept << what;
            if (card.beyond)
                c.notKept << QString::number(card.beyond) + QStringLiteral(" ligne(s) au-delà de 10000 dans la fiche");
            const QString label = c.label();
            reading.contacts[card.slot] = std::move(c);
            for (const QString& agent : QStringList(agents)) {
                const QByteArray inner = agent.toUtf8();
                m_agentOf = label;
                read(inner, reading, depth + 1);
            }
        };
        LineSource lines(bytes);
        LogicalLine line;
        while (lines.next(line) && !reading.error) {
            if (line.tooLong) {
                const QString what = QStringLiteral("ligne ") + QString::number(line.number)
                                     + QStringLiteral(" de plus de 16 Mo (")
                                     + QString::fromLatin1(line.text.left(line.text.indexOf(':')).left(40))
                                     + QStringLiteral("), non reprise");
                if (open.empty())
                    reading.notes << QStringLiteral("Ligne ") + what.mid(6);
                else
                    open.back().tooLong << what;
                continue;
            }
            if (line.text.trimmed().isEmpty())
                continue;
            std::optional<Property> p = parseLine(line.text);
            const QByteArray value = p ? p->value.trimmed().toUpper() : QByteArray();
            const bool begins = p && ((p->name == "BEGIN" && value == "VCARD")
                                      || (p->name == "AGENT" && value == "BEGIN:VCARD"));
            if (begins) {
                if (reading.contacts.size() >= kMaxContacts) {
                    reading.error = Error{kNoErrorNumber, QStringLiteral(" Ce fichier contient plus de 1 000 000 de "
                                                                         "contacts : il n'est pas importé.")};
                    return;
                }
                Open card;
                card.slot = reading.contacts.size();
                card.line = line.number;
                // A card inside a card (AGENT) is a contact of its own.
                card.agentOf = open.empty() ? m_agentOf : QStringLiteral("la ligne ") + QString::number(open.back().line);
                reading.contacts.emplace_back();
                open.push_back(std::move(card));
                continue;
            }
            if (p && p->name == "END" && value == "VCARD") {
                if (open.empty()) {
                    reading.notes << QStringLiteral("Ligne ") + QString::number(line.number)
                                         + QStringLiteral(" : END:VCARD sans BEGIN:VCARD");
                    continue;
                }
                Open card = std::move(open.back());
                open.pop_back();
                close(card, true);
                continue;
            }
            if (open.empty()) {
                if (!outside++)
                    outsideFirst = line.number;
                continue;
            }
            Open& card = open.back();
            if (!p) {
                if (!card.unreadable++)
                    card.firstUnreadable = QStringLiteral("ligne ") + QString::number(line.number) + QStringLiteral(" « ")
                                           + QString::fromUtf8(line.text.left(60)) + QStringLiteral(" »");
                continue;
            }
            if (qsizetype(card.properties.size()) >= kMaxPropertiesPerCard) {
                ++card.beyond;
                continue;
            }
            p->line = line.number;
            card.properties.push_back(std::move(*p));
        }
        while (!open.empty() && !reading.error) {
            Open card = std::move(open.back());
            open.pop_back();
            close(card, false);
        }
        if (outside)
            reading.notes << QString::number(outside) + QStringLiteral(" ligne(s) hors d'une fiche vCard ignorée(s), "
                                                                       "la première à la ligne ")
                                 + QString::number(outsideFirst);
        m_agentOf.clear();
    }

private:
    std::map<QByteArray, QStringDecoder> m_decoders;
    CardBuilder m_builder;
    QString m_agentOf;
};

}  // namespace

namespace {

// What each byte of the code page becomes in a vCard value: UTF-8, with "\\",
// "," and ";" escaped, a line feed as "\\n" and a carriage return dropped;
// and whether its character is a blank to QString::trimmed.
struct EscapeTable {
    std::array<Utf8Char, 256> chars{};
    std::array<bool, 256> space{};

    EscapeTable()
    {
        const auto& utf8 = utf8OfCp1252();
        for (int b = 0; b < 256; ++b) {
            Utf8Char& e = chars[size_t(b)];
            if (b == '\\' || b == ',' || b == ';')
                e = {{'\\', char(b), 0}, 2};
            else if (b == '\n')
                e = {{'\\', 'n', 0}, 2};
            else if (b == '\r')
                e = {{0, 0, 0}, 0};
            else
                e = utf8[size_t(b)];
            space[size_t(b)] = cp1252Char(uchar(b)).isSpace();
        }
    }
};

const EscapeTable& escapeTable()
{
    static const EscapeTable table;
    return table;
}

// The blanks of QString::trimmed among the code page's bytes.
using Spaces = std::array<bool, 256>;

// bytes == QString::trimmed(bytes), on the code page's bytes.
bool isTrimmed(QByteArrayView v, const Spaces& space)
{
    return v.isEmpty() || (!space[uchar(v.front())] && !space[uchar(v.back())]);
}

QByteArrayView trimmedBytes(QByteArrayView v, const Spaces& space)
{
    while (!v.isEmpty() && space[uchar(v.front())])
        v = v.sliced(1);
    while (!v.isEmpty() && space[uchar(v.back())])
        v.chop(1);
    return v;
}

// bytes == QString::simplified(bytes): blanks only single spaces between words.
bool isSimplified(QByteArrayView v, const Spaces& space)
{
    if (!isTrimmed(v, space))
        return false;
    for (qsizetype i = 0; i + 1 < v.size(); ++i)
        if (space[uchar(v[i])] && (v[i] != ' ' || space[uchar(v[i + 1])]))
            return false;
    return true;
}

// The day QDate::fromString(text, "dd/MM/yyyy") reads, written at out as
// QDate::toString(Qt::ISODate) writes it; nullptr when there is none. The
// usual form is read without a text or a date.
char* isoDayOf(QByteArrayView v, char* out)
{
    const auto digit = [&](qsizetype i) { return v[i] >= '0' && v[i] <= '9'; };
    const auto number = [&](qsizetype i, qsizetype n) {
        int x = 0;
        for (qsizetype k = i; k < i + n; ++k)
            x = x * 10 + (v[k] - '0');
        return x;
    };
    if (v.size() == 10 && v[2] == '/' && v[5] == '/' && digit(0) && digit(1) && digit(3) && digit(4) && digit(6)
        && digit(7) && digit(8) && digit(9)) {
        const int y = number(6, 4), m = number(3, 2), d = number(0, 2);
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (y == 0 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1] + (m == 2 && leap))
            return nullptr;
        out = std::copy_n(v.data() + 6, 4, out);
        *out++ = '-';
        out = std::copy_n(v.data() + 3, 2, out);
        *out++ = '-';
        return std::copy_n(v.data(), 2, out);
    }
    if (!v.contains('/'))
        return nullptr;
    const QDate day = QDate::fromString(fromCp1252(v), QStringLiteral("dd/MM/yyyy"));
    if (!day.isValid())
        return nullptr;
    const QByteArray text = day.toString(Qt::ISODate).toLatin1();
    return std::copy(text.begin(), text.end(), out);
}

// Writes the vCards of records straight from their bytes.
class VCardWriter {
public:
    explicit VCardWriter(const QStringList& captions)
        : m_captions(captions),
          m_company(fieldOfRole(ContactRole::Company, captions)),
          m_job(fieldOfRole(ContactRole::JobTitle, captions)),
          m_birthday(fieldOfRole(ContactRole::Birthday, captions)),
          m_notes(fieldOfRole(ContactRole::Notes, captions))
    {
        qsizetype room = 4096;
        for (CardField k = kFieldFirstCustom; k <= kFieldLast; ++k) {
            const QByteArray caption = captions.value(k - 2).toUtf8() + ": ";
            QByteArray& e = m_noteCaption[size_t(k)];
            // Escaped as the values are; the bytes of other letters as they are.
            for (char c : caption) {
                const Utf8Char& u = escapeTable().chars[uchar(c)];
                if (uchar(c) < 0x80)
                    e.append(u.bytes, u.size);
                else
                    e += c;
            }
            room += e.size() + 2 + 3 * 40;
        }
        m_line = QByteArray(room, Qt::Uninitialized);
    }

    // The most write() writes for one record.
    qsizetype most() const { return 2 * m_line.size(); }

    // Writes the vCard of a record of CardRecord::kSize bytes from out, up
    // to its photo; returns the end of what was written.
    char* write(QByteArrayView record, char* out)
    {
        static const std::array<int, CardRecord::kFieldCount> offsets = [] {
            std::array<int, CardRecord::kFieldCount> o{};
            for (int i = 0; i < CardRecord::kFieldCount; ++i)
                o[size_t(i)] = CardRecord::offset(i);
            return o;
        }();
        // Every value escaped lies in the record: read up to its end.
        m_recordEnd = record.data() + record.size();
        std::array<QByteArrayView, CardRecord::kFieldCount + 1> fields;
        for (CardField k = kFieldCivility; k <= kFieldLast; ++k)
            fields[size_t(k)] = storedBytes(
                QByteArrayView(record.data() + offsets[fieldIndex(k)], CardRecord::kWidths[fieldIndex(k)]));
        const auto field = [&](CardField k) { return fields[size_t(k)]; };
        const Spaces& space = m_escape.space;
        out = put(out, "BEGIN:VCARD\r\nVERSION:3.0\r\n");
        char* p = start(out, "N:");
        p = escape(field(kFieldSurname), p);
        *p++ = ';';
        p = escape(field(kFieldFirstNames), p);
        p = put(p, ";;");
        p = escape(field(kFieldCivility), p);
        *p++ = ';';
        end(p, out);
        // FN: the first names and the surname, each trimmed, between one blank.
        const QByteArrayView first = trimmedBytes(field(kFieldFirstNames), space),
                             last = trimmedBytes(field(kFieldSurname), space);
        p = escape(first, start(out, "FN:"));
        if (!first.isEmpty() && !last.isEmpty())
            *p++ = ' ';
        end(escape(last, p), out);
        const QByteArrayView street = field(kFieldStreet), city = field(kFieldCity), code = field(kFieldPostalCode);
        if (!street.isEmpty() || !city.isEmpty() || !code.isEmpty()) {
            p = escape(street, start(out, "ADR;TYPE=HOME:;;"));
            *p++ = ';';
            p = put(escape(city, p), ";;");
            end(put(escape(code, p), ";France"), out);
        }
        line(out, "TEL;TYPE=VOICE,HOME:", field(kFieldLandline));
        line(out, "TEL;TYPE=CELL:", field(kFieldMobile));
        line(out, "EMAIL;TYPE=INTERNET:", field(kFieldEmail));
        // The fields of a company, job title, birthday and notes as the
        // properties address books show, each only when reading it back
        // gives the same text; every other custom field as a line "caption:
        // value" of NOTE.
        QByteArrayView freeNote;
        std::array<CardField, 10> noteFields{};
        int noteCount = 0;
        for (CardField k = kFieldFirstCustom; k <= kFieldLast; ++k) {
            const QByteArrayView value = field(k);
            if (value.isEmpty())
                continue;
            if (k == m_company && isTrimmed(value, space))
                line(out, "ORG:", value);
            else if (k == m_job && isSimplified(value, space))
                line(out, "TITLE:", value);
            else if (k == m_birthday && (p = isoDayOf(value, start(out, "BDAY:"))))
                end(p, out);
            else if (k == m_notes && isSimplified(value, space)
                     && (value.indexOf(':') <= 0 || fieldOfNoteLine(fromCp1252(value), m_captions) == 0))
                freeNote = value;
            else
                noteFields[size_t(noteCount++)] = k;
        }
        if (!freeNote.isEmpty() || noteCount > 0) {
            p = escape(freeNote, start(out, "NOTE:"));
            for (int i = 0; i < noteCount; ++i) {
                if (i > 0 || !freeNote.isEmpty())
                    p = put(p, "\\n");
                const QByteArray& caption = m_noteCaption[size_t(noteFields[size_t(i)])];
                p = std::copy(caption.begin(), caption.end(), p);
                p = escape(field(noteFields[size_t(i)]), p);
            }
            end(p, out);
        }
        // The marker and pin, as the record writes its numbers; a blank marker stays empty.
        const QByteArrayView pin = CardRecord::fieldBytes(record, kFieldPosition);
        const PinSpot spot = pinSpotOf(pin);
        p = start(out, "X-TABULON-PIN:");
        if (!space[uchar(pin[0])]) {
            const Utf8Char& u = utf8OfCp1252()[uchar(pin[0])];
            p = std::copy(u.bytes, u.bytes + u.size, p);
        }
        *p++ = ';';
        p = coordInto(float(spot.x), p);
        *p++ = ';';
        end(coordInto(float(spot.y), p), out);
        return out;
    }

    // The photo's lines, and the end of the card.
    static QByteArray photoLines(const QByteArray& photo)
    {
        return vCardFolded(QByteArray("PHOTO;ENCODING=b;TYPE=") + photoType(photo) + ':' + photo.toBase64());
    }
    static constexpr const char* kEnd = "END:VCARD\r\n";
    static constexpr qsizetype kEndSize = 11;

private:
    // A line is made in place at out and folded only when it is too long.
    template <size_t N>
    static char* start(char* out, const char (&name)[N])
    {
        return put(out, name);
    }
    // The names' lengths are known here: one copy each, no loop.
    template <size_t N>
    static char* put(char* p, const char (&text)[N])
    {
        std::memcpy(p, text, N - 1);
        return p + (N - 1);
    }
    void end(char* p, char*& out)
    {
        const qsizetype size = p - out;
        if (size <= kFoldWidth) {
            out = std::copy_n("\r\n", 2, p);
            return;
        }
        std::memcpy(m_line.data(), out, size_t(size));
        out = putFolded(out, m_line.constData(), size);
    }
    // A property of one value, only when the value is not empty.
    template <size_t N>
    void line(char*& out, const char (&name)[N], QByteArrayView value)
    {
        if (!value.isEmpty())
            end(escape(value, start(out, name)), out);
    }
    char* escape(QByteArrayView bytes, char* out) const
    {
        const Utf8Char* table = m_escape.chars.data();
        return copyPlainRuns<'\\', ',', ';'>(bytes, m_recordEnd, out, [table](uchar b, char* o) {
            const Utf8Char& u = table[b];
            o[0] = u.bytes[0], o[1] = u.bytes[1], o[2] = u.bytes[2];
            return o + u.size;
        });
    }

    const EscapeTable& m_escape = escapeTable();
    QStringList m_captions;
    int m_company, m_job, m_birthday, m_notes;
    std::array<QByteArray, CardRecord::kFieldCount + 1> m_noteCaption;  // escaped "caption: " by field
    QByteArray m_line;  // a line too long, before it is folded
    const char* m_recordEnd = nullptr;
};

// The card number of a photo's file name ("photo12.jpg" in any case), 0 for
// another name.
long long photoCard(const QString& name)
{
    const QString lower = name.toLower();
    const QString prefix = sideFilePrefix(SideFile::Photo).toLower();
    const QString extension = sideFileExtension(SideFile::Photo).toLower();
    if (!lower.startsWith(prefix) || !lower.endsWith(extension))
        return 0;
    const QStringView digits = QStringView(lower).sliced(prefix.size(), lower.size() - prefix.size() - extension.size());
    if (digits.isEmpty() || digits.size() > 15 || digits[0] == u'0')
        return 0;
    long long n = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return 0;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

// The vCards of one thread's cards, with their photos: each thread its own
// writer.
struct VCardPart {
    VCardPart(const QStringList& captions, const QHash<long long, QString>& photos, const Database& db,
              const CardChoice& cards)
        : writer(captions), photos(photos), db(db), chosen(cards)
    {
    }
    VCardWriter writer;
    const QHash<long long, QString>& photos;
    const Database& db;
    ChosenRecord chosen;
    long long written = 0, photoErrorCard = 0;
    std::optional<Error> photoError;

    template <class Sink>
    void operator()(long long n, QByteArrayView bytes, Sink& out)
    {
        const QByteArrayView record = chosen(n, bytes);
        if (record.isEmpty())
            return;
        const qsizetype most = writer.most() + VCardWriter::kEndSize;
        // Written in place into the large block, the unused room given
        // back at once.
        char* const at = out.reserve(most);
        char* end = writer.write(record, at);
        ++written;
        if (const auto it = photos.constFind(n); it != photos.constEnd()) {
            Result<QByteArray> bytesRead = readFile(db.file(*it));
            if (!bytesRead && !photoError) {
                photoError = bytesRead.error();
                photoErrorCard = n;
            }
            if (bytesRead && !bytesRead->isEmpty()) {
                out.unreserve(most - (end - at));
                out.append(VCardWriter::photoLines(*bytesRead));
                out.append(QByteArrayView(VCardWriter::kEnd, VCardWriter::kEndSize));
                return;
            }
        }
        end = std::copy_n(VCardWriter::kEnd, VCardWriter::kEndSize, end);
        out.unreserve(most - (end - at));
    }
};

}  // namespace

QByteArray vCardOf(const CardRecord& card, const QStringList& captions, const QByteArray& photo)
{
    VCardWriter writer(captions);
    QByteArray out(writer.most(), Qt::Uninitialized);
    out.truncate(writer.write(card.toBytes(), out.data()) - out.constData());
    if (!photo.isEmpty())
        out += VCardWriter::photoLines(photo);
    return out + VCardWriter::kEnd;
}

Result<long long> writeVCardFile(const Database& db, const QString& path, const CardChoice& cards)
{
    const QStringList captions = exchangeCaptions(db.captions());
    AtomicFileWriter out(path);
    if (!out.status())
        return out.status().error();
    // The photos from one listing of the folder, in any case, not a look-up per card.
    QHash<long long, QString> photos;
    for (const QString& name : QDir(db.folder()).entryList({sideFilePrefix(SideFile::Photo) + u'*' + sideFileExtension(SideFile::Photo)}, QDir::Files))
        if (const long long n = photoCard(name))
            photos.insert(n, name);
    VCardPart mine(captions, photos, db, cards), theirs(captions, photos, db, cards);
    // The first photo in card order that cannot be read is the one told.
    const Status read = writeRecordsInTwo(db.store(), db.count(), out, mine, theirs);
    const long long written = mine.written + theirs.written;
    if (theirs.photoError && (!mine.photoError || theirs.photoErrorCard < mine.photoErrorCard))
        mine.photoError = theirs.photoError;
    const std::optional<Error>& photoError = mine.photoError;
    if (!read)
        return read.error();
    // A photo that cannot be read is an error, not a card silently without it.
    if (photoError)
        return *photoError;
    if (Status s = out.commit(); !s)
        return s.error();
    return written;
}

namespace {

VCardReading refusedAsTooLarge()
{
    VCardReading reading;
    reading.error = Error{kNoErrorNumber, QStringLiteral(" Ce fichier fait plus de 256 Mo : il n'est pas importé.")};
    return reading;
}

}  // namespace

VCardReading readVCardFile(const QByteArray& bytes, const QStringList& captions)
{
    if (bytes.size() > kMaxVCardFileBytes)
        return refusedAsTooLarge();
    VCardReading reading;
    const QByteArray body = asUtf8Bytes(bytes, &reading.notes);
    Reader(captions).read(body, reading, 0);
    if (!reading.error && reading.contacts.empty() && !body.trimmed().isEmpty())
        reading.error = Error{kNoErrorNumber, QStringLiteral(" Ce fichier ne contient aucune fiche vCard lisible (pas de "
                                                             "ligne BEGIN:VCARD).")};
    return reading;
}

VCardReading readVCardPath(const QString& path, const QStringList& captions)
{
    // Refused before anything is read; one byte past the limit is enough to
    // refuse a file that grows meanwhile.
    if (QFileInfo(path).size() > kMaxVCardFileBytes)
        return refusedAsTooLarge();
    const Result<QByteArray> bytes = readFileStart(path, kMaxVCardFileBytes + 1);
    if (!bytes) {
        VCardReading reading;
        reading.error = bytes.error();
        return reading;
    }
    return readVCardFile(*bytes, captions);
}

std::vector<Contact> readVCards(const QByteArray& bytes, const QStringList& captions)
{
    VCardReading reading = readVCardFile(bytes, captions);
    return std::move(reading.contacts);
}

std::vector<VCardLine> vCardLines(QByteArrayView vcard)
{
    std::vector<VCardLine> lines;
    std::vector<Property> own;  // the card's own properties, read as a contact
    int depth = 0;
    QList<VCardRole> seen;
    LineSource source(vcard);
    LogicalLine logical;
    while (source.next(logical)) {
        VCardLine& line = lines.emplace_back();
        line.begin = logical.begin;
        line.end = logical.end;
        std::optional<Property> p = logical.tooLong ? std::nullopt : parseLine(logical.text);
        if (!p)
            continue;
        const QByteArray upper = p->value.trimmed().toUpper();
        if ((p->name == "BEGIN" && upper == "VCARD") || (p->name == "AGENT" && upper == "BEGIN:VCARD")) {
            if (depth++ == 0)
                line.role = VCardRole::Begin;
            continue;
        }
        if (p->name == "END" && upper == "VCARD") {
            if (depth > 0 && --depth == 0)
                line.role = VCardRole::End;
            continue;
        }
        if (depth != 1)
            continue;
        line.value = p->value;
        line.preferred = p->pref <= 100;
        if (!p->group.isEmpty())
            line.group = logical.text.left(p->group.size());
        static const QHash<QByteArray, VCardRole> single = {
            {"VERSION", VCardRole::Version}, {"UID", VCardRole::Uid},    {"N", VCardRole::Name},
            {"FN", VCardRole::FullName},     {"ORG", VCardRole::Organisation}, {"TITLE", VCardRole::Title},
            {"BDAY", VCardRole::Birthday},   {"X-TABULON-PIN", VCardRole::Pin}};
        VCardRole role = single.value(p->name, VCardRole::Other);
        // A photo given by its address is not read into the card.
        if (p->name == "PHOTO" && (p->value.trimmed().startsWith("data:") || p->encoding == "B" || p->encoding == "BASE64"))
            role = VCardRole::Photo;
        if (role != VCardRole::Other && !seen.contains(role)) {
            line.role = role;
            seen << role;
        }
        if (p->name == "NOTE")
            line.role = VCardRole::Note;
        // What the choice of TEL, ADR and EMAIL looks at, nothing else (no photo to decode).
        static const QList<QByteArray> chosen = {"TEL", "ADR", "EMAIL", "LABEL", "X-ABLABEL"};
        if (chosen.contains(p->name) && qsizetype(own.size()) < kMaxPropertiesPerCard) {
            p->line = qsizetype(lines.size()) - 1;
            own.push_back(std::move(*p));
        }
    }
    // The same choice of TEL, ADR and EMAIL as an import's.
    std::map<QByteArray, QStringDecoder> decoders;
    CardBuilder builder({}, decoders);
    builder.build(own, {}, nullptr);
    const KeptLines& kept = builder.kept();
    for (const auto& [at, role] : {std::pair{kept.landline, VCardRole::Landline}, {kept.mobile, VCardRole::Mobile},
                                   {kept.email, VCardRole::Email}, {kept.address, VCardRole::Address}})
        if (at >= 0)
            lines[size_t(at)].role = role;
    return lines;
}

QByteArray vCardFolded(QByteArrayView line)
{
    QByteArray out(line.size() + line.size() / 74 * 3 + 8, Qt::Uninitialized);
    out.truncate(putFolded(out.data(), line.data(), line.size()) - out.constData());
    return out;
}

}  // namespace tb
