#include "core/exchange/vcard.h"

#include "core/base/codepage.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/db/database.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <optional>

namespace tb {

namespace {

// ---- Writing ----

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\\' || c == u',' || c == u';')
            out += u'\\';
        if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c != u'\r')
            out += c;
    }
    return out;
}

// Lines of at most 75 bytes, continued after CR LF and a blank, never inside
// a UTF-8 sequence.
void putFolded(QByteArray& out, const QByteArray& line)
{
    constexpr qsizetype kWidth = 75;
    qsizetype start = 0;
    qsizetype room = kWidth;
    while (line.size() - start > room) {
        qsizetype cut = start + room;
        while (cut > start && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start);
        out += "\r\n ";
        start = cut;
        room = kWidth - 1;
    }
    out += line.mid(start);
    out += "\r\n";
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

struct Property {
    QByteArray name;   // upper case, group removed
    QStringList types; // lower case, from TYPE= and bare 2.1 parameters
    QByteArray encoding;
    QByteArray charset;
    QByteArray valueType;
    QByteArray value;  // as in the file
};

bool isQuotedPrintable(const QByteArray& line)
{
    const qsizetype colon = line.indexOf(':');
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

bool isBase64(const QByteArray& line)
{
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return false;
    const QByteArray head = line.left(colon).toUpper();
    return head.contains("ENCODING=B") || head.contains("BASE64");
}

// Logical lines: folded lines joined, quoted-printable soft breaks joined,
// and the bare continuation lines some phones write under a base64 photo.
QList<QByteArray> logicalLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    QByteArray current;
    bool haveCurrent = false;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (haveCurrent) {
            if (isQuotedPrintable(current) && current.endsWith('=')) {
                current.chop(1);
                current += line;
                continue;
            }
            if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
                current += line.mid(1);
                continue;
            }
            if (!line.isEmpty() && !line.contains(':') && isBase64(current)) {
                current += line;
                continue;
            }
            lines.append(current);
        }
        current = line;
        haveCurrent = true;
    }
    if (haveCurrent)
        lines.append(current);
    return lines;
}

// Splits on sep outside double quotes.
QList<QByteArray> splitOutsideQuotes(const QByteArray& text, char sep)
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
    const QList<QByteArray> head = splitOutsideQuotes(line.left(colon), ';');
    p.name = head[0].trimmed().toUpper();
    if (const qsizetype dot = p.name.lastIndexOf('.'); dot >= 0)
        p.name = p.name.mid(dot + 1);
    for (qsizetype i = 1; i < head.size(); ++i) {
        QByteArray param = head[i].trimmed();
        const qsizetype eq = param.indexOf('=');
        QByteArray key = eq < 0 ? QByteArray() : param.left(eq).trimmed().toUpper();
        QByteArray value = eq < 0 ? param : param.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        const QByteArray upper = value.toUpper();
        if (key == "ENCODING" || (key.isEmpty() && (upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B")))
            p.encoding = upper;
        else if (key == "CHARSET")
            p.charset = value;
        else if (key == "VALUE")
            p.valueType = value.toLower();
        else if (key == "TYPE" || key.isEmpty())
            for (const QByteArray& t : value.split(','))
                p.types << QString::fromLatin1(t.trimmed().toLower());
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

class Reader {
public:
    Reader(const QByteArray& bytes, const QStringList& captions) : m_captions(captions)
    {
        QStringDecoder probe(QStringDecoder::Utf8);
        const QString decoded = probe.decode(bytes);
        m_utf8 = !probe.hasError();
    }

    std::vector<Contact> read(const QByteArray& bytes)
    {
        std::vector<Contact> contacts;
        int depth = 0;
        for (const QByteArray& line : logicalLines(bytes)) {
            const std::optional<Property> p = parseLine(line);
            if (!p)
                continue;
            const QByteArray value = p->value.trimmed().toUpper();
            if (p->name == "BEGIN" && value == "VCARD") {
                // A card inside a card (2.1 AGENT) is not a contact of its own.
                if (depth++ == 0)
                    startCard();
                continue;
            }
            if (p->name == "END" && value == "VCARD") {
                if (depth > 0 && --depth == 0)
                    contacts.push_back(finishCard());
                continue;
            }
            if (depth == 1)
                take(*p);
        }
        return contacts;
    }

private:
    QString text(const Property& p) const
    {
        const QByteArray raw = p.encoding == "QUOTED-PRINTABLE" ? quotedPrintableDecoded(p.value) : p.value;
        QString decoded;
        if (!p.charset.isEmpty()) {
            QStringDecoder decoder(p.charset.constData());
            if (decoder.isValid())
                decoded = decoder.decode(raw);
        }
        if (decoded.isNull())
            decoded = m_utf8 ? QString::fromUtf8(raw) : fromCp1252(raw);
        decoded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        decoded.replace(u'\r', u'\n');
        return decoded;
    }

    static QString unescaped(const QString& text)
    {
        QString out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\\' && i + 1 < text.size()) {
                const QChar next = text[++i];
                out += (next == u'n' || next == u'N') ? QChar(u'\n') : next;
            } else {
                out += text[i];
            }
        }
        return out;
    }

    static QStringList components(const QString& text)
    {
        QStringList parts;
        QString part;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\\' && i + 1 < text.size()) {
                part += text[i];
                part += text[++i];
            } else if (text[i] == u';') {
                parts << unescaped(part);
                part.clear();
            } else {
                part += text[i];
            }
        }
        parts << unescaped(part);
        return parts;
    }

    void startCard()
    {
        m_contact = Contact();
        m_haveName = false;
        m_formatted.clear();
        m_organisation.clear();
        m_haveAddress = false;
    }

    void notKept(const QString& what, const QString& value)
    {
        if (!value.trimmed().isEmpty())
            m_contact.notKept << what + QStringLiteral(" : ") + QString(value).replace(u'\n', u' ').trimmed();
    }

    // The field k when empty, otherwise the value is reported.
    void keepFirst(int k, const QString& value, const QString& what)
    {
        if (m_contact.field(k).isEmpty())
            m_contact.field(k) = value;
        else
            notKept(what, value);
    }

    void take(const Property& p)
    {
        const QByteArray& name = p.name;
        if (name == "N") {
            const QStringList c = components(text(p));
            m_haveName = true;
            m_contact.field(kFieldSurname) = c.value(0).trimmed();
            m_contact.field(kFieldFirstNames) = (c.value(1).trimmed() + u' ' + c.value(2).trimmed()).trimmed();
            m_contact.field(kFieldCivility) = c.value(3).trimmed();
            notKept(QStringLiteral("suffixe du nom"), c.value(4));
        } else if (name == "FN") {
            m_formatted = unescaped(text(p)).trimmed();
        } else if (name == "ORG") {
            m_organisation = components(text(p)).join(u' ').trimmed();
        } else if (name == "TEL") {
            QString number = unescaped(text(p)).trimmed();
            if (number.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            if (p.types.contains(QStringLiteral("fax")))
                notKept(QStringLiteral("télécopie"), number);
            else if (p.types.contains(QStringLiteral("pager")))
                notKept(QStringLiteral("récepteur d'appel"), number);
            else if (p.types.contains(QStringLiteral("cell")) || p.types.contains(QStringLiteral("mobile")))
                keepFirst(kFieldMobile, number, QStringLiteral("autre portable"));
            else
                keepFirst(kFieldLandline, number, QStringLiteral("autre téléphone"));
        } else if (name == "ADR") {
            takeAddress(components(text(p)));
        } else if (name == "EMAIL") {
            keepFirst(kFieldEmail, unescaped(text(p)).trimmed(), QStringLiteral("autre adresse e-mail"));
        } else if (name == "NOTE") {
            takeNote(unescaped(text(p)));
        } else if (name == "PHOTO") {
            takePhoto(p);
        } else {
            static const QHash<QByteArray, QString> reported = {
                {"BDAY", QStringLiteral("date de naissance")}, {"TITLE", QStringLiteral("fonction")},
                {"ROLE", QStringLiteral("rôle")},              {"URL", QStringLiteral("site")},
                {"NICKNAME", QStringLiteral("surnom")},        {"ANNIVERSARY", QStringLiteral("anniversaire")},
            };
            if (const auto it = reported.find(name); it != reported.end())
                notKept(*it, unescaped(text(p)));
        }
    }

    void takeAddress(const QStringList& c)
    {
        QStringList streetParts;
        for (int i : {2, 1, 0})
            if (!c.value(i).trimmed().isEmpty())
                streetParts << c.value(i).trimmed().split(u'\n', Qt::SkipEmptyParts).join(QStringLiteral(", "));
        const QString street = streetParts.join(QStringLiteral(", "));
        const QString city = c.value(3).trimmed(), postalCode = c.value(5).trimmed();
        if (m_haveAddress) {
            QStringList whole = streetParts;
            whole << (postalCode + u' ' + city).trimmed() << c.value(6).trimmed();
            whole.removeAll(QString());
            notKept(QStringLiteral("autre adresse"), whole.join(QStringLiteral(", ")));
            return;
        }
        m_haveAddress = true;
        m_contact.field(kFieldStreet) = street;
        m_contact.field(kFieldCity) = city;
        m_contact.field(kFieldPostalCode) = postalCode;
        notKept(QStringLiteral("région"), c.value(4));
        const QString country = c.value(6).trimmed();
        if (country.compare(QStringLiteral("France"), Qt::CaseInsensitive) != 0
            && country.compare(QStringLiteral("FR"), Qt::CaseInsensitive) != 0)
            notKept(QStringLiteral("pays"), country);
    }

    // Lines "caption: value" go to the field of that caption.
    void takeNote(const QString& note)
    {
        for (const QString& line : note.split(u'\n')) {
            if (line.trimmed().isEmpty())
                continue;
            bool placed = false;
            for (int k = kFieldFirstCustom; k <= CardRecord::kFieldCount && !placed; ++k) {
                const QString caption = m_captions.value(k - 2) + u':';
                if (!line.startsWith(caption, Qt::CaseInsensitive) || !m_contact.field(k).isEmpty())
                    continue;
                QString value = line.mid(caption.size());
                if (value.startsWith(u' '))
                    value.remove(0, 1);
                m_contact.field(k) = value;
                placed = true;
            }
            if (!placed)
                notKept(QStringLiteral("note"), line);
        }
    }

    void takePhoto(const Property& p)
    {
        QByteArray value = p.value;
        const bool inline64 = value.startsWith("data:");
        if (inline64)
            value = value.mid(value.indexOf(',') + 1);
        if (!inline64 && p.encoding != "B" && p.encoding != "BASE64") {
            notKept(QStringLiteral("photo (adresse)"), QString::fromUtf8(value));
            return;
        }
        if (!m_contact.photo.isEmpty())
            return;
        value.replace(' ', QByteArray()).replace('\t', QByteArray());
        m_contact.photo = QByteArray::fromBase64(value);
    }

    Contact finishCard()
    {
        Contact& c = m_contact;
        const bool named = !c.field(kFieldSurname).isEmpty() || !c.field(kFieldFirstNames).isEmpty();
        if (!named && !m_organisation.isEmpty()) {
            // A company's card: its name is the organisation.
            c.field(kFieldSurname) = m_organisation;
        } else {
            notKept(QStringLiteral("société"), m_organisation);
            if (!named && !m_haveName && !m_formatted.isEmpty()) {
                // No N (allowed in 4.0): the last word of FN is taken as the surname.
                const qsizetype blank = m_formatted.lastIndexOf(u' ');
                c.field(kFieldSurname) = m_formatted.mid(blank + 1);
                c.field(kFieldFirstNames) = blank < 0 ? QString() : m_formatted.left(blank).trimmed();
            }
        }
        return c;
    }

    QStringList m_captions;
    bool m_utf8 = true;
    Contact m_contact;
    bool m_haveName = false;
    bool m_haveAddress = false;
    QString m_formatted;
    QString m_organisation;
};

}  // namespace

QByteArray vCardOf(const CardRecord& card, const QStringList& captions, const QByteArray& photo)
{
    const auto t = [&](int k) { return storedText(card.field(k)); };
    QByteArray out;
    const auto put = [&](const QString& line) { putFolded(out, line.toUtf8()); };
    put(QStringLiteral("BEGIN:VCARD"));
    put(QStringLiteral("VERSION:3.0"));
    put(QStringLiteral("N:") + escaped(t(kFieldSurname)) + u';' + escaped(t(kFieldFirstNames)) + QStringLiteral(";;")
        + escaped(t(kFieldCivility)) + u';');
    put(QStringLiteral("FN:") + escaped((t(kFieldFirstNames).trimmed() + u' ' + t(kFieldSurname).trimmed()).trimmed()));
    if (!t(kFieldStreet).isEmpty() || !t(kFieldCity).isEmpty() || !t(kFieldPostalCode).isEmpty())
        put(QStringLiteral("ADR;TYPE=HOME:;;") + escaped(t(kFieldStreet)) + u';' + escaped(t(kFieldCity))
            + QStringLiteral(";;") + escaped(t(kFieldPostalCode)) + QStringLiteral(";France"));
    if (!t(kFieldLandline).isEmpty())
        put(QStringLiteral("TEL;TYPE=VOICE,HOME:") + escaped(t(kFieldLandline)));
    if (!t(kFieldMobile).isEmpty())
        put(QStringLiteral("TEL;TYPE=CELL:") + escaped(t(kFieldMobile)));
    if (!t(kFieldEmail).isEmpty())
        put(QStringLiteral("EMAIL;TYPE=INTERNET:") + escaped(t(kFieldEmail)));
    QStringList notes;
    for (int k = kFieldFirstCustom; k <= CardRecord::kFieldCount; ++k)
        if (!t(k).isEmpty())
            notes << captions.value(k - 2) + QStringLiteral(": ") + t(k);
    if (!notes.isEmpty())
        put(QStringLiteral("NOTE:") + escaped(notes.join(u'\n')));
    if (!photo.isEmpty())
        put(QStringLiteral("PHOTO;ENCODING=b;TYPE=") + QLatin1String(photoType(photo)) + u':'
            + QString::fromLatin1(photo.toBase64()));
    put(QStringLiteral("END:VCARD"));
    return out;
}

Result<long long> writeVCardFile(const Database& db, const QString& path, bool includeArchived)
{
    const QStringList captions = exchangeCaptions(db.captions());
    AtomicFileWriter out(path);
    if (!out.status())
        return out.status().error();
    long long written = 0;
    std::optional<Error> photoError;
    // The photos from one listing of the folder, in any case, not a look-up per card.
    QHash<QString, QString> photos;
    for (const QString& name : QDir(db.folder()).entryList({QStringLiteral("photo*.jpg")}, QDir::Files))
        photos.insert(name.toLower(), name);
    const Status read = db.store().forEachRaw(db.count(), [&](long long n, QByteArrayView bytes) {
        const CardRecord card = CardRecord::fromBytes(bytes);
        if (!includeArchived && !card.isActive())
            return;
        QByteArray photo;
        const QString photoName = photos.value(QStringLiteral("photo") + plainNumber(n) + QStringLiteral(".jpg"));
        if (!photoName.isEmpty()) {
            Result<QByteArray> bytesRead = readFile(db.file(photoName));
            if (!bytesRead && !photoError)
                photoError = bytesRead.error();
            photo = bytesRead ? *bytesRead : QByteArray();
        }
        out.append(vCardOf(card, captions, photo));
        ++written;
    });
    if (!read)
        return read.error();
    // A photo that cannot be read is an error, not a card silently without it.
    if (photoError)
        return *photoError;
    if (Status s = out.commit(); !s)
        return s.error();
    return written;
}

std::vector<Contact> readVCards(const QByteArray& bytes, const QStringList& captions)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    return Reader(body, captions).read(body);
}

}  // namespace tb
