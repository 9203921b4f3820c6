#include "core/exchange/csv.h"

#include "core/base/byte_runs.h"
#include "core/base/codepage.h"
#include "core/cards/record_bytes.h"
#include "core/cards/records_in_two.h"
#include "core/exchange/chosen_record.h"
#include "core/base/safe_write.h"
#include "core/db/database.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>

namespace tb {

namespace {

// RFC 4180: a value holding the separator, a quote or a line break is quoted,
// its quotes doubled.
QByteArray csvValue(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n') && !utf8.contains('\r'))
        return utf8;
    utf8.replace("\"", "\"\"");
    return '"' + utf8 + '"';
}

QByteArray csvRow(const QStringList& values)
{
    QByteArray row;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            row += ',';
        row += csvValue(values[i]);
    }
    return row + "\r\n";
}

// The row of fields 2 to 20 of a record of CardRecord::kSize bytes, straight
// from its bytes: out gets at most seven times the record's size.
char* putCsvRow(QByteArrayView record, char* out)
{
    static const std::array<int, CardRecord::kFieldCount> offsets = [] {
        std::array<int, CardRecord::kFieldCount> o{};
        for (int i = 0; i < CardRecord::kFieldCount; ++i)
            o[size_t(i)] = CardRecord::offset(i);
        return o;
    }();
    const Utf8Char* utf8 = utf8OfCp1252().data();
    for (CardField k = kFieldCivility; k <= kFieldLast; ++k) {
        if (k > kFieldCivility)
            *out++ = ',';
        const size_t i = fieldIndex(k);
        const QByteArrayView value =
            storedBytes(QByteArrayView(record.data() + offsets[i], CardRecord::kWidths[i]));
        // Written as it is, moved over for the quotes only when it needs
        // them (rare): one pass either way.
        bool quoted = false;
        char* const end = copyPlainRuns<',', '"'>(value, record.data() + record.size(), out, [&](uchar b, char* o) {
            if (b == ',' || b == '"' || b == '\n' || b == '\r')
                quoted = true;
            if (b == '"')
                *o++ = '"';
            const Utf8Char& u = utf8[b];
            o[0] = u.bytes[0], o[1] = u.bytes[1], o[2] = u.bytes[2];
            return o + u.size;
        });
        if (quoted) {
            std::memmove(out + 1, out, size_t(end - out));
            *out = '"';
            out = end + 1;
            *out++ = '"';
        } else {
            out = end;
        }
    }
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

// The rows of one thread's cards.
struct CsvPart {
    explicit CsvPart(const CardChoice& cards) : chosen(cards) {}
    ChosenRecord chosen;
    long long written = 0;

    template <class Sink>
    void operator()(long long n, QByteArrayView bytes, Sink& out)
    {
        const QByteArrayView record = chosen(n, bytes);
        if (record.isEmpty())
            return;
        // Room for the worst case, the unused end given back at once.
        constexpr qsizetype kMost = 7 * CardRecord::kSize;
        char* const at = out.reserve(kMost);
        out.unreserve(kMost - (putCsvRow(record, at) - at));
        ++written;
    }
};

}  // namespace

QString encodingName(CsvEncoding encoding)
{
    return encoding == CsvEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
}

Result<long long> forEachExportedRow(const Database& db, const CardChoice& cards,
                                     const std::function<void(const QStringList& values, bool header)>& row)
{
    row(exchangeCaptions(db.captions()), true);
    long long written = 0;
    const Status read = db.store().forEachRaw(db.count(), [&](long long n, QByteArrayView bytes) {
        const CardRecord card = CardRecord::fromBytes(bytes);
        if (!cards.takes(n, card.isActive()))
            return;
        QStringList values;
        for (CardField k = kFieldCivility; k <= kFieldLast; ++k)
            values << storedText(card.field(k));
        row(values, false);
        ++written;
    });
    if (!read)
        return read.error();
    return written;
}

Result<long long> writeCsvFile(const Database& db, const QString& path, const CardChoice& cards)
{
    AtomicFileWriter out(path);
    if (!out.status())
        return out.status().error();
    // The mark tells spreadsheet programs the file is UTF-8.
    out.append("\xEF\xBB\xBF");
    out.append(csvRow(exchangeCaptions(db.captions())));
    CsvPart mine{cards}, theirs{cards};
    const Status read = writeRecordsInTwo(db.store(), db.count(), out, mine, theirs);
    const long long written = mine.written + theirs.written;
    if (!read)
        return read.error();
    if (Status s = out.commit(); !s)
        return s.error();
    return written;
}

CsvEncoding guessEncoding(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return CsvEncoding::Utf8;
    return isValidUtf8(bytes) ? CsvEncoding::Utf8 : CsvEncoding::Windows1252;
}

namespace {

Error refusal(const QString& text)
{
    return Error{kNoErrorNumber, text};
}

// "ligne 12 du fichier CSV"
QString lineText(qsizetype line)
{
    return QStringLiteral("ligne ") + QString::number(line) + QStringLiteral(" du fichier CSV");
}

// What a column holds apart from a card field of its own.
enum What {
    kPlainField = 0,
    kCompany = -1,
    kJobTitle = -2,
    kBirthday = -3,
    kNotes = -4,
    kMiddleNames = -5,
    kDisplayName = -6,
    kGroupType = -7,  // "Phone 2 - Type": says what the values of its group are
    kIgnored = -8,    // what the program keeps for itself ("E-mail Type": SMTP)
    kCountry = -9,
    kBirthYear = -10,
    kBirthMonth = -11,
    kBirthDay = -12,
    kFormattedAddress = -13,
    kStreetMore = -14,  // the second and third lines of a street
};
enum class Place { Any, Home, Work };

struct HeaderEntry {
    const char16_t* header;  // as the programs write it, "#" for a number
    int what;                // a card field (2 to 10) or a What
    Place place = Place::Any;
};

// The headers other programs write, one entry each: Outlook in French,
// English and German, Google Contacts old and new, Thunderbird in English and
// French, and the names spreadsheets commonly give. Headers are compared by
// captionKey(); a plain "Ville" or "Code postal" is a home one, its repeat
// (Thunderbird) the work one.
const HeaderEntry kHeaders[] = {
    {u"Civilité", kFieldCivility}, {u"Titre", kFieldCivility}, {u"Title", kFieldCivility},
    {u"Name Prefix", kFieldCivility}, {u"Anrede", kFieldCivility},
    {u"Nom", kFieldSurname}, {u"Nom de famille", kFieldSurname}, {u"Last Name", kFieldSurname},
    {u"Surname", kFieldSurname}, {u"Family Name", kFieldSurname}, {u"Nachname", kFieldSurname},
    {u"Prénom", kFieldFirstNames}, {u"Prénoms", kFieldFirstNames}, {u"First Name", kFieldFirstNames},
    {u"Given Name", kFieldFirstNames}, {u"Vorname", kFieldFirstNames},
    {u"Deuxième prénom", kMiddleNames}, {u"Middle Name", kMiddleNames}, {u"Additional Name", kMiddleNames},
    {u"Weitere Vornamen", kMiddleNames},
    {u"Nom à afficher", kDisplayName}, {u"Display Name", kDisplayName}, {u"Name", kDisplayName},
    {u"Rue", kFieldStreet}, {u"Adresse", kFieldStreet}, {u"Address", kFieldStreet}, {u"Street", kFieldStreet},
    {u"Address # - Street", kFieldStreet},
    {u"Rue (domicile)", kFieldStreet, Place::Home}, {u"Home Street", kFieldStreet, Place::Home},
    {u"Straße privat", kFieldStreet, Place::Home}, {u"Home Address", kFieldStreet, Place::Home},
    {u"Adresse privée", kFieldStreet, Place::Home},
    {u"Rue (bureau)", kFieldStreet, Place::Work}, {u"Business Street", kFieldStreet, Place::Work},
    {u"Straße geschäftlich", kFieldStreet, Place::Work}, {u"Work Address", kFieldStreet, Place::Work},
    {u"Adresse professionnelle", kFieldStreet, Place::Work},
    {u"CP", kFieldPostalCode}, {u"Postal Code", kFieldPostalCode}, {u"Zip", kFieldPostalCode},
    {u"Address # - Postal Code", kFieldPostalCode}, {u"Code postal", kFieldPostalCode, Place::Home},
    {u"Code postal (domicile)", kFieldPostalCode, Place::Home}, {u"Home Postal Code", kFieldPostalCode, Place::Home},
    {u"Postleitzahl privat", kFieldPostalCode, Place::Home}, {u"Home ZipCode", kFieldPostalCode, Place::Home},
    {u"Code postal (bureau)", kFieldPostalCode, Place::Work},
    {u"Business Postal Code", kFieldPostalCode, Place::Work},
    {u"Postleitzahl geschäftlich", kFieldPostalCode, Place::Work},
    {u"Work ZipCode", kFieldPostalCode, Place::Work},
    {u"Commune", kFieldCity}, {u"City", kFieldCity}, {u"Address # - City", kFieldCity},
    {u"Ville", kFieldCity, Place::Home}, {u"Ville (domicile)", kFieldCity, Place::Home},
    {u"Home City", kFieldCity, Place::Home}, {u"Ort privat", kFieldCity, Place::Home},
    {u"Ville (bureau)", kFieldCity, Place::Work}, {u"Business City", kFieldCity, Place::Work},
    {u"Ort geschäftlich", kFieldCity, Place::Work}, {u"Work City", kFieldCity, Place::Work},
    {u"Pays", kCountry}, {u"Country", kCountry}, {u"Address # - Country", kCountry},
    {u"Pays/Région", kCountry, Place::Home}, {u"Pays/Région (domicile)", kCountry, Place::Home},
    {u"Home Country/Region", kCountry, Place::Home}, {u"Home Country", kCountry, Place::Home},
    {u"Land/Region privat", kCountry, Place::Home},
    {u"Pays/Région (bureau)", kCountry, Place::Work}, {u"Business Country/Region", kCountry, Place::Work},
    {u"Work Country", kCountry, Place::Work}, {u"Land/Region geschäftlich", kCountry, Place::Work},
    {u"Rue (domicile) #", kStreetMore, Place::Home}, {u"Home Street #", kStreetMore, Place::Home},
    {u"Straße privat #", kStreetMore, Place::Home}, {u"Home Address #", kStreetMore, Place::Home},
    {u"Adresse privée #", kStreetMore, Place::Home},
    {u"Rue (bureau) #", kStreetMore, Place::Work}, {u"Business Street #", kStreetMore, Place::Work},
    {u"Straße geschäftlich #", kStreetMore, Place::Work}, {u"Work Address #", kStreetMore, Place::Work},
    {u"Adresse professionnelle #", kStreetMore, Place::Work}, {u"Address # - Extended Address", kStreetMore},
    {u"Address # - Type", kGroupType}, {u"Address # - Label", kGroupType},
    {u"Address # - Formatted", kFormattedAddress},
    {u"Téléphone", kFieldLandline}, {u"Tél", kFieldLandline}, {u"Fixe", kFieldLandline}, {u"Phone", kFieldLandline},
    {u"Phone # - Value", kFieldLandline},
    {u"Téléphone (domicile)", kFieldLandline, Place::Home}, {u"Home Phone", kFieldLandline, Place::Home},
    {u"Telefon privat", kFieldLandline, Place::Home}, {u"Tél. personnel", kFieldLandline, Place::Home},
    {u"Téléphone (bureau)", kFieldLandline, Place::Work}, {u"Business Phone", kFieldLandline, Place::Work},
    {u"Telefon geschäftlich", kFieldLandline, Place::Work}, {u"Work Phone", kFieldLandline, Place::Work},
    {u"Tél. professionnel", kFieldLandline, Place::Work},
    {u"Phone # - Type", kGroupType}, {u"Phone # - Label", kGroupType},
    {u"Portable", kFieldMobile}, {u"Mobile", kFieldMobile}, {u"GSM", kFieldMobile}, {u"Tél. mobile", kFieldMobile},
    {u"Mobile Phone", kFieldMobile}, {u"Mobiltelefon", kFieldMobile}, {u"Mobile Number", kFieldMobile},
    {u"E-mail", kFieldEmail}, {u"Mail", kFieldEmail}, {u"Courriel", kFieldEmail},
    {u"Adresse électronique", kFieldEmail}, {u"Adresse de messagerie", kFieldEmail},
    {u"E-mail Address", kFieldEmail}, {u"E-Mail-Adresse", kFieldEmail}, {u"Primary Email", kFieldEmail},
    {u"Adresse électronique principale", kFieldEmail}, {u"E-mail # - Value", kFieldEmail},
    {u"Adresse E-mail", kFieldEmail}, {u"E-mail # - Type", kGroupType}, {u"E-mail # - Label", kGroupType},
    {u"E-mail Type", kIgnored}, {u"Type de messagerie", kIgnored}, {u"E-Mail-Typ", kIgnored},
    {u"E-mail Display Name", kIgnored}, {u"Nom complet de l'adresse de messagerie", kIgnored},
    {u"E-Mail: angezeigter Name", kIgnored}, {u"Priority", kIgnored}, {u"Priorité", kIgnored},
    {u"Priorität", kIgnored}, {u"Private", kIgnored}, {u"Privé", kIgnored}, {u"Privat", kIgnored},
    {u"Sensitivity", kIgnored}, {u"Critère de diffusion", kIgnored}, {u"Vertraulichkeit", kIgnored},
    {u"Société", kCompany}, {u"Entreprise", kCompany}, {u"Company", kCompany}, {u"Firma", kCompany},
    {u"Organization", kCompany}, {u"Organization Name", kCompany}, {u"Organization # - Name", kCompany},
    {u"Job Title", kJobTitle}, {u"Fonction", kJobTitle}, {u"Position", kJobTitle},
    {u"Berufsbezeichnung", kJobTitle}, {u"Profession", kJobTitle}, {u"Organization Title", kJobTitle},
    {u"Organization # - Title", kJobTitle},
    {u"Anniversaire", kBirthday}, {u"Birthday", kBirthday}, {u"Geburtstag", kBirthday},
    {u"Date de naissance", kBirthday},
    // Thunderbird's "Birth Day" has the key of "Birthday": columnInfos tells them apart.
    {u"Birth Year", kBirthYear}, {u"Birth Month", kBirthMonth},
    {u"Année de naissance", kBirthYear}, {u"Mois de naissance", kBirthMonth}, {u"Jour de naissance", kBirthDay},
    {u"Notes", kNotes}, {u"Notizen", kNotes}, {u"Observations", kNotes}, {u"Remarques", kNotes},
    {u"Commentaires", kNotes},
};

// A header longer than this is no header of the table (and its key is not
// worth computing: normalising long runs of accents is slow).
constexpr qsizetype kHeaderMaxChars = 200;

struct ColumnInfo {
    int what = kPlainField;  // from the table; kPlainField when not there
    Place place = Place::Any;
    int group = 0;   // the number of "Phone 2 - Value", 0 for none
    QString family;  // its key before the number, "phone"; its type column has the same
};

QString groupName(const ColumnInfo& info)
{
    return info.family + u'#' + QString::number(info.group);
}

// The key with its first number as "#", and that number.
QString numberedKey(const QString& key, int* number)
{
    qsizetype i = 0;
    while (i < key.size() && !key[i].isDigit())
        ++i;
    qsizetype end = i;
    while (end < key.size() && end - i < 6 && key[end].isDigit())
        ++end;
    if (i == key.size() || (end < key.size() && key[end].isDigit()))
        return {};
    *number = key.mid(i, end - i).toInt();
    return key.left(i) + u'#' + key.mid(end);
}

QString headerKey(const QString& header)
{
    return header.size() > kHeaderMaxChars ? QString() : captionKey(header);
}

std::vector<ColumnInfo> columnInfos(const QStringList& header)
{
    static const QHash<QString, const HeaderEntry*> table = [] {
        QHash<QString, const HeaderEntry*> t;
        for (const HeaderEntry& e : kHeaders)
            t.insert(captionKey(QString::fromUtf16(e.header).replace(u'#', QStringLiteral("0"))).replace(u'0', u'#'), &e);
        return t;
    }();
    std::vector<ColumnInfo> infos;
    QList<QString> seenHome;
    for (const QString& name : header) {
        ColumnInfo info;
        const QString key = headerKey(name);
        const HeaderEntry* entry = table.value(key);
        if (!entry && !key.isEmpty()) {
            int number = 0;
            if (const QString k = numberedKey(key, &number); !k.isEmpty())
                if ((entry = table.value(k))) {
                    info.group = number;
                    info.family = k.left(k.indexOf(u'#'));
                }
        }
        if (entry) {
            info.what = entry->what;
            info.place = entry->place;
            if (info.place == Place::Home) {
                if (seenHome.contains(key))
                    info.place = Place::Work;
                else
                    seenHome << key;
            }
        }
        infos.push_back(info);
    }
    // Beside a year and a month, "Birth Day" is the day of the birthday.
    if (std::any_of(infos.begin(), infos.end(), [](const ColumnInfo& i) { return i.what == kBirthMonth; }))
        for (ColumnInfo& info : infos)
            if (info.what == kBirthday)
                info.what = kBirthDay;
    return infos;
}

bool isBirthPart(int what)
{
    return what == kBirthYear || what == kBirthMonth || what == kBirthDay;
}

bool saysMobile(const QString& type)
{
    const QString key = headerKey(type);
    return key.contains(QStringLiteral("mobil")) || key.contains(QStringLiteral("cell"))
           || key.contains(QStringLiteral("portable")) || key.contains(QStringLiteral("handy"));
}

bool saysWork(const QString& type)
{
    const QString key = headerKey(type);
    return key.contains(QStringLiteral("work")) || key.contains(QStringLiteral("business"))
           || key.contains(QStringLiteral("bureau")) || key.contains(QStringLiteral("travail"))
           || key.contains(QStringLiteral("professionnel")) || key.contains(QStringLiteral("geschaft"));
}

bool isAddressField(int k)
{
    return k == kFieldStreet || k == kFieldPostalCode || k == kFieldCity;
}

bool looksLikeData(const QString& value)
{
    static const QRegularExpression email(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    static const QRegularExpression phone(QStringLiteral("^\\+?[\\d .()/-]{8,30}$"));
    const QString v = value.trimmed();
    if (v.size() > kHeaderMaxChars)
        return false;
    if (email.match(v).hasMatch())
        return true;
    return phone.match(v).hasMatch() && std::count_if(v.begin(), v.end(), [](QChar c) { return c.isDigit(); }) >= 8;
}

// At most this many things not kept are listed for one row.
constexpr int kNotKeptPerRow = 20;

}  // namespace

namespace {

Result<CsvTable> parseText(const QByteArray& bytes, CsvEncoding encoding)
{
    if (bytes.size() > kCsvMaxBytes)
        return refusal(QStringLiteral("Le fichier CSV dépasse ") + QString::number(kCsvMaxBytes / (1024 * 1024))
                       + QStringLiteral(" Mo : il n'est pas lu."));
    CsvTable table;
    table.encoding = encoding;
    QString text;
    if (encoding == CsvEncoding::Utf8) {
        text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    } else {
        text = fromCp1252(bytes);
    }
    // The separator: the most frequent of the header row, outside quotes.
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted)
            commas += c == u',', semicolons += c == u';', tabs += c == u'\t';
    }
    table.separator = semicolons > commas && semicolons >= tabs ? u';' : (tabs > commas ? u'\t' : u',');

    QList<QStringList> records;
    QStringList record;
    qsizetype values = 0;
    qsizetype line = 1, recordLine = 1;
    qsizetype valueStart = 0;  // where the unquoted run of the value begins
    QString value;
    quoted = false;
    bool any = false;  // the record has begun
    // Each value is built by appends of runs, never longer than the limit, so
    // that a file costs its size once.
    const auto endValue = [&]() -> std::optional<Error> {
        if (record.size() >= kCsvMaxColumns)
            return refusal(QStringLiteral("La ") + lineText(recordLine) + QStringLiteral(" a plus de ")
                           + QString::number(kCsvMaxColumns) + QStringLiteral(" colonnes : le fichier n'est pas lu."));
        if (++values > kCsvMaxValues)
            return refusal(QStringLiteral("Le fichier CSV a plus de ") + QString::number(kCsvMaxValues)
                           + QStringLiteral(" valeurs : il n'est pas lu."));
        record << value;
        value.clear();
        return std::nullopt;
    };
    const auto endRecord = [&]() -> std::optional<Error> {
        if (records.size() >= kCsvMaxRows)
            return refusal(QStringLiteral("Le fichier CSV a plus de ") + QString::number(kCsvMaxRows)
                           + QStringLiteral(" lignes : il n'est pas lu."));
        records << record;
        record.clear();
        return std::nullopt;
    };
    const auto tooLong = [&] {
        return refusal(QStringLiteral("Une valeur de la ") + lineText(recordLine) + QStringLiteral(" dépasse ")
                       + QString::number(kCsvMaxValueChars) + QStringLiteral(" caractères : le fichier n'est pas lu."));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    value += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                // The run up to the next quote, at once.
                qsizetype end = text.indexOf(u'"', i);
                if (end < 0)
                    end = text.size();
                if (value.size() + (end - i) > kCsvMaxValueChars)
                    return tooLong();
                const QStringView run = QStringView(text).mid(i, end - i);
                line += run.count(u'\n');
                value += run;
                i = end - 1;
            }
            if (value.size() > kCsvMaxValueChars)
                return tooLong();
            continue;
        }
        if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == table.separator) {
            if (auto e = endValue())
                return *e;
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            if (any || !value.isEmpty()) {
                if (auto e = endValue())
                    return *e;
                if (auto e = endRecord())
                    return *e;
            }
            record.clear();
            value.clear();
            any = false;
            recordLine = ++line;
        } else {
            // The run of plain letters up to the next special one, at once.
            valueStart = i;
            while (i + 1 < text.size() && text[i + 1] != u'"' && text[i + 1] != table.separator && text[i + 1] != u'\r'
                   && text[i + 1] != u'\n')
                ++i;
            if (value.size() + (i - valueStart + 1) > kCsvMaxValueChars)
                return tooLong();
            value += QStringView(text).mid(valueStart, i - valueStart + 1);
            any = true;
        }
    }
    if (any || !value.isEmpty()) {
        if (auto e = endValue())
            return *e;
        if (auto e = endRecord())
            return *e;
    }
    if (!records.isEmpty())
        table.header = records.takeFirst();
    table.rows = std::move(records);
    return table;
}

const Error kOutOfMemory{kNoErrorNumber, QStringLiteral("La mémoire manque pour lire ce fichier CSV : il n'est pas lu.")};

}  // namespace

Result<CsvTable> parseCsv(const QByteArray& bytes, CsvEncoding encoding)
{
    // Within the limits a file fits in memory; a machine short of it gets a message, not an abort.
    try {
        return parseText(bytes, encoding);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

Result<CsvTable> readCsv(const QByteArray& bytes, CsvEncoding encoding, const QStringList& captions)
{
    Result<CsvTable> parsed = parseCsv(bytes, encoding);
    if (!parsed)
        return parsed;
    CsvTable& table = *parsed;
    const QList<int> matched = matchColumns(table.header, captions);
    if (std::any_of(matched.begin(), matched.end(), [](int k) { return k != 0; })
        || !std::any_of(table.header.begin(), table.header.end(), looksLikeData))
        return parsed;
    table.rows.prepend(table.header);
    qsizetype width = 0;
    for (const QStringList& row : table.rows)
        width = std::max(width, row.size());
    table.header.clear();
    for (qsizetype i = 1; i <= width; ++i)
        table.header << QStringLiteral("Colonne ") + QString::number(i);
    table.headerIsData = true;
    return parsed;
}

QList<int> matchColumns(const QStringList& header, const QStringList& captions)
{
    QHash<QString, int> byKey;
    for (CardField k = kFieldCivility; k <= kFieldLast; ++k)
        if (const QString key = captionKey(captions.value(k - 2)); !byKey.contains(key))
            byKey.insert(key, k);
    const auto roleField = [&](int what) {
        switch (what) {
        case kCompany: return fieldOfRole(ContactRole::Company, captions);
        case kJobTitle: return fieldOfRole(ContactRole::JobTitle, captions);
        case kNotes: return fieldOfRole(ContactRole::Notes, captions);
        case kBirthday: case kBirthYear: case kBirthMonth: case kBirthDay:
            return fieldOfRole(ContactRole::Birthday, captions);
        case kMiddleNames: return int(kFieldFirstNames);
        case kStreetMore: return int(kFieldStreet);
        default: return what > 0 ? what : 0;
        }
    };
    const std::vector<ColumnInfo> infos = columnInfos(header);
    QList<int> columns;
    QList<int> taken;
    for (qsizetype i = 0; i < header.size(); ++i) {
        const ColumnInfo& info = infos[size_t(i)];
        const QString key = headerKey(header[i]);
        int k = key.isEmpty() ? 0 : byKey.value(key, roleField(info.what));
        // Columns that share their field, sorted out row by row.
        const bool shares = info.place != Place::Any || info.group > 0 || info.what == kMiddleNames
                            || isBirthPart(info.what);
        if (taken.contains(k) && !shares)
            k = 0;
        if (k)
            taken << k;
        columns << k;
    }
    return columns;
}

std::vector<Contact> contactsFromCsv(const CsvTable& table, const QList<int>& columns, QStringList* notes)
{
    const std::vector<ColumnInfo> infos = columnInfos(table.header);
    const auto nameOf = [&](qsizetype i) {
        return i < table.header.size() ? table.header[i] : QStringLiteral("Colonne ") + QString::number(i + 1);
    };
    // The type column of each numbered group ("Phone 2 - Type" for "Phone 2 - Value").
    QHash<QString, qsizetype> types;
    for (qsizetype i = 0; i < qsizetype(infos.size()); ++i)
        if (infos[size_t(i)].what == kGroupType)
            types.insert(groupName(infos[size_t(i)]), i);
    const auto typeOf = [&](const ColumnInfo& info, const QStringList& values) {
        const auto t = info.group > 0 ? types.constFind(groupName(info)) : types.cend();
        return t == types.cend() ? QString() : values.value(*t);
    };
    // Columns read for something else than a field of their own are not listed.
    const auto usedOtherwise = [](int what) {
        return what == kGroupType || what == kIgnored || what == kDisplayName || what == kFormattedAddress;
    };
    if (notes)
        for (qsizetype i = 0; i < table.header.size(); ++i)
            if (!columns.value(i) && !table.header[i].trimmed().isEmpty() && !usedOtherwise(infos[size_t(i)].what))
                *notes << QStringLiteral("Colonne non reprise : ") + table.header[i];
    std::vector<Contact> contacts;
    contacts.reserve(size_t(table.rows.size()));
    std::vector<qsizetype> order;
    order.reserve(infos.size());
    for (const QStringList& row : table.rows) {
        QStringList values = row;
        bool blank = true;
        for (QString& v : values) {
            if (v.contains(u'\n') || v.contains(u'\r'))
                v.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
            blank = blank && v.trimmed().isEmpty();
        }
        if (blank)
            continue;
        const auto placeOf = [&](qsizetype i) {
            const ColumnInfo& info = infos[size_t(i)];
            if (const QString type = typeOf(info, values); !type.trimmed().isEmpty())
                return saysWork(type) ? Place::Work : Place::Home;
            return info.place;
        };
        // Home and unplaced columns first, so that they win over work ones.
        order.clear();
        for (int pass = 0; pass < 2; ++pass)
            for (qsizetype i = 0; i < qsizetype(infos.size()); ++i)
                if ((placeOf(i) == Place::Work) == (pass == 1))
                    order.push_back(i);
        // The work address only when the row has no home one.
        bool home = false, work = false;
        for (qsizetype i = 0; i < values.size() && i < qsizetype(infos.size()); ++i)
            if (isAddressField(columns.value(i)) && !values[i].trimmed().isEmpty())
                (placeOf(i) == Place::Work ? work : home) = true;
        const Place addressPlace = !home && work ? Place::Work : Place::Home;
        Contact c;
        QStringList notKept;
        QString middle, streetMore, display, company, formatted;
        QString birth[3];
        int birthField = 0;
        const auto drop = [&](qsizetype i, const QString& v) {
            notKept << nameOf(i) + QStringLiteral(" : ") + v;
        };
        for (qsizetype i : order) {
            if (i >= values.size())
                continue;
            QString v = values[i].trimmed().isEmpty() ? QString() : values[i];
            const ColumnInfo& info = infos[size_t(i)];
            // Google joins the values of one kind ("06 12 ::: 04 75"): the first is used.
            if (const qsizetype more = v.indexOf(QStringLiteral(" ::: ")); more >= 0) {
                drop(i, v.mid(more + 5).trimmed());
                v.truncate(more);
            }
            int k = columns.value(i);
            if (info.what == kCompany && !v.isEmpty() && company.isEmpty())
                company = v.trimmed();
            if (isBirthPart(info.what) && k) {
                birth[info.what == kBirthDay ? 0 : info.what == kBirthMonth ? 1 : 2] = v.trimmed();
                birthField = k;
                continue;
            }
            if (v.isEmpty() || info.what == kGroupType || info.what == kIgnored)
                continue;
            if (!k) {
                if (info.what == kDisplayName)
                    display = v.trimmed();
                else if (info.what == kFormattedAddress)
                    formatted = v.simplified();
                else if (info.what != kCountry || !isFrance(v))
                    drop(i, v.trimmed());
                continue;
            }
            if (isAddressField(k) && (placeOf(i) == Place::Work) != (addressPlace == Place::Work)) {
                drop(i, v.trimmed());
                continue;
            }
            if (info.what == kMiddleNames) {
                middle += (middle.isEmpty() ? QString() : QStringLiteral(" ")) + v.trimmed();
                continue;
            }
            if (info.what == kStreetMore) {
                streetMore += (streetMore.isEmpty() ? QString() : QStringLiteral(", ")) + v.trimmed();
                continue;
            }
            const QString value = info.what == kBirthday ? birthdayText(v) : v;
            if (value.isEmpty())
                continue;
            // A numbered phone whose type says mobile takes the mobile field.
            if (k == kFieldLandline && saysMobile(typeOf(info, values)))
                k = kFieldMobile;
            if (c.field(CardField(k)).isEmpty())
                c.field(CardField(k)) = value;
            else if (c.field(CardField(k)).trimmed() != value.trimmed())
                drop(i, value.trimmed());
        }
        // Values past the header have no column to go to.
        for (qsizetype i = qsizetype(infos.size()); i < values.size(); ++i)
            if (!values[i].trimmed().isEmpty())
                drop(i, values[i].trimmed());
        if (!middle.isEmpty())
            c.field(kFieldFirstNames) = (c.field(kFieldFirstNames).trimmed() + u' ' + middle).trimmed();
        if (!streetMore.isEmpty())
            c.field(kFieldStreet) = c.field(kFieldStreet).trimmed().isEmpty()
                                        ? streetMore
                                        : c.field(kFieldStreet).trimmed() + QStringLiteral(", ") + streetMore;
        if (birthField && !birth[2].isEmpty() && c.field(CardField(birthField)).isEmpty()) {
            const auto two = [](const QString& s) { return s.size() == 1 ? u'0' + s : s; };
            c.field(CardField(birthField)) = (birth[0].isEmpty() ? QString() : two(birth[0]) + u'/')
                                  + (birth[1].isEmpty() ? QString() : two(birth[1]) + u'/') + birth[2];
        }
        const bool named = !c.field(kFieldSurname).trimmed().isEmpty() || !c.field(kFieldFirstNames).trimmed().isEmpty();
        if (!named && !display.isEmpty()) {
            // As the name is shown: the last word is the surname.
            const qsizetype blank = display.lastIndexOf(u' ');
            c.field(kFieldSurname) = display.mid(blank + 1);
            c.field(kFieldFirstNames) = blank > 0 ? display.left(blank) : QString();
        } else if (!named && !company.isEmpty()) {
            c.field(kFieldSurname) = company;
            if (notes)
                *notes << c.label() + QStringLiteral(" : pas de nom, la société est prise comme nom");
        }
        if (!formatted.isEmpty() && c.field(kFieldStreet).trimmed().isEmpty())
            notKept << QStringLiteral("adresse : ") + formatted;
        if (addressPlace == Place::Work && notes)
            *notes << c.label() + QStringLiteral(" : pas d'adresse personnelle, adresse professionnelle reprise");
        if (notKept.size() > kNotKeptPerRow) {
            const qsizetype more = notKept.size() - kNotKeptPerRow;
            notKept.resize(kNotKeptPerRow);
            notKept << QString::number(more) + QStringLiteral(" autre(s) valeur(s)");
        }
        c.notKept = std::move(notKept);
        contacts.push_back(std::move(c));
    }
    return contacts;
}

Result<QList<int>> columnsOption(const QString& text, qsizetype columnCount)
{
    QList<int> columns(columnCount, 0);
    QList<int> fields;
    for (const QString& pair : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(u'=');
        bool okField = false, okColumn = false;
        const int field = parts.value(0).trimmed().toInt(&okField);
        const int column = parts.value(1).trimmed().toInt(&okColumn);
        if (parts.size() != 2 || !okField || !okColumn)
            return refusal(QStringLiteral("--columns : « ") + pair + QStringLiteral(" » n'est pas de la forme CHAMP=COLONNE"));
        if (field < kFieldCivility || field > CardRecord::kFieldCount)
            return refusal(QStringLiteral("--columns : pas de champ ") + QString::number(field)
                           + QStringLiteral(" (champs 2 à 20)"));
        if (column < 1 || column > columnCount)
            return refusal(QStringLiteral("--columns : pas de colonne ") + QString::number(column)
                           + QStringLiteral(" (le fichier en a ") + QString::number(columnCount) + u')');
        if (fields.contains(field))
            return refusal(QStringLiteral("--columns : le champ ") + QString::number(field)
                           + QStringLiteral(" est donné deux fois"));
        fields << field;
        columns[column - 1] = field;
    }
    if (fields.isEmpty())
        return refusal(QStringLiteral("--columns : aucune colonne donnée"));
    return columns;
}

Result<std::vector<Contact>> csvContacts(const QByteArray& bytes, const QStringList& captions,
                                         const QString& columnsGiven, QStringList* notes)
try {
    const Result<CsvTable> table = readCsv(bytes, guessEncoding(bytes), captions);
    if (!table)
        return table.error();
    QList<int> columns;
    if (!columnsGiven.isEmpty()) {
        Result<QList<int>> given = columnsOption(columnsGiven, table->header.size());
        if (!given)
            return given.error();
        columns = *given;
    } else {
        columns = matchColumns(table->header, captions);
        if (std::all_of(columns.begin(), columns.end(), [](int k) { return k == 0; }))
            return refusal(QStringLiteral("Aucune colonne du fichier n'a un intitulé connu ; colonnes lues : ")
                           + columnsSeen(*table)
                           + QStringLiteral(". Indiquez le champ de chaque colonne avec --columns CHAMP=COLONNE,... "
                                            "(champs de 2 à 20, colonnes à partir de 1)."));
    }
    if (notes)
        *notes << QStringLiteral("Fichier CSV en ") + encodingName(table->encoding) + QStringLiteral(", séparateur « ")
                      + table->separator + QStringLiteral(" »")
                      + (table->headerIsData ? QStringLiteral(", sans ligne d'intitulés") : QString());
    return contactsFromCsv(*table, columns, notes);
} catch (const std::bad_alloc&) {
    return kOutOfMemory;
}

QString columnsSeen(const CsvTable& table)
{
    const QStringList& names = table.headerIsData && !table.rows.isEmpty() ? table.rows[0] : table.header;
    QStringList shown;
    for (qsizetype i = 0; i < names.size() && i < 30; ++i)
        shown << QString::number(i + 1) + QStringLiteral(" « ") + names[i].left(40).simplified() + QStringLiteral(" »");
    if (names.size() > 30)
        shown << QStringLiteral("…");
    return shown.join(QStringLiteral(", "));
}

}  // namespace tb
