#include "core/exchange/csv.h"

#include "core/base/codepage.h"
#include "core/base/safe_write.h"
#include "core/db/database.h"

#include <QHash>
#include <QStringDecoder>

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

}  // namespace

QString encodingName(CsvEncoding encoding)
{
    return encoding == CsvEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
}

Result<long long> writeCsvFile(const Database& db, const QString& path, bool includeArchived)
{
    AtomicFileWriter out(path);
    if (!out.status())
        return out.status().error();
    // The mark tells spreadsheet programs the file is UTF-8.
    out.append("\xEF\xBB\xBF");
    out.append(csvRow(exchangeCaptions(db.captions())));
    long long written = 0;
    const Status read = db.store().forEachRaw(db.count(), [&](long long, QByteArrayView bytes) {
        const CardRecord card = CardRecord::fromBytes(bytes);
        if (!includeArchived && !card.isActive())
            return;
        QStringList values;
        for (int k = kFieldCivility; k <= CardRecord::kFieldCount; ++k)
            values << storedText(card.field(k));
        out.append(csvRow(values));
        ++written;
    });
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
    QStringDecoder probe(QStringDecoder::Utf8);
    const QString decoded = probe.decode(bytes);
    return probe.hasError() ? CsvEncoding::Windows1252 : CsvEncoding::Utf8;
}

CsvTable parseCsv(const QByteArray& bytes, CsvEncoding encoding)
{
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
    QString value;
    quoted = false;
    bool any = false;  // the record has begun
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
                value += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == table.separator) {
            record << value;
            value.clear();
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            if (any || !value.isEmpty()) {
                record << value;
                records << record;
            }
            record.clear();
            value.clear();
            any = false;
        } else {
            value += c;
            any = true;
        }
    }
    if (any || !value.isEmpty()) {
        record << value;
        records << record;
    }
    if (!records.isEmpty())
        table.header = records.takeFirst();
    table.rows = std::move(records);
    return table;
}

QList<int> matchColumns(const QStringList& header, const QStringList& captions)
{
    // Other names spreadsheets and address books give the same fields.
    static const QHash<QString, int> aliases = {
        {QStringLiteral("civilite"), kFieldCivility},   {QStringLiteral("titre"), kFieldCivility},
        {QStringLiteral("title"), kFieldCivility},      {QStringLiteral("nom"), kFieldSurname},
        {QStringLiteral("nomdefamille"), kFieldSurname}, {QStringLiteral("lastname"), kFieldSurname},
        {QStringLiteral("surname"), kFieldSurname},     {QStringLiteral("familyname"), kFieldSurname},
        {QStringLiteral("prenom"), kFieldFirstNames},   {QStringLiteral("prenoms"), kFieldFirstNames},
        {QStringLiteral("firstname"), kFieldFirstNames}, {QStringLiteral("givenname"), kFieldFirstNames},
        {QStringLiteral("rue"), kFieldStreet},          {QStringLiteral("adresse"), kFieldStreet},
        {QStringLiteral("address"), kFieldStreet},      {QStringLiteral("street"), kFieldStreet},
        {QStringLiteral("cp"), kFieldPostalCode},       {QStringLiteral("codepostal"), kFieldPostalCode},
        {QStringLiteral("postalcode"), kFieldPostalCode}, {QStringLiteral("zip"), kFieldPostalCode},
        {QStringLiteral("ville"), kFieldCity},          {QStringLiteral("commune"), kFieldCity},
        {QStringLiteral("city"), kFieldCity},           {QStringLiteral("telephone"), kFieldLandline},
        {QStringLiteral("tel"), kFieldLandline},        {QStringLiteral("fixe"), kFieldLandline},
        {QStringLiteral("phone"), kFieldLandline},      {QStringLiteral("portable"), kFieldMobile},
        {QStringLiteral("mobile"), kFieldMobile},       {QStringLiteral("gsm"), kFieldMobile},
        {QStringLiteral("email"), kFieldEmail},         {QStringLiteral("mail"), kFieldEmail},
        {QStringLiteral("courriel"), kFieldEmail},      {QStringLiteral("adresseelectronique"), kFieldEmail},
    };
    QHash<QString, int> byKey;
    for (int k = kFieldCivility; k <= CardRecord::kFieldCount; ++k)
        if (const QString key = captionKey(captions.value(k - 2)); !byKey.contains(key))
            byKey.insert(key, k);
    QList<int> columns;
    QList<int> taken;
    for (const QString& name : header) {
        const QString key = captionKey(name);
        int k = byKey.value(key, aliases.value(key, 0));
        if (key.isEmpty() || taken.contains(k))
            k = 0;
        if (k)
            taken << k;
        columns << k;
    }
    return columns;
}

std::vector<Contact> contactsFromCsv(const CsvTable& table, const QList<int>& columns)
{
    std::vector<Contact> contacts;
    contacts.reserve(size_t(table.rows.size()));
    for (const QStringList& row : table.rows) {
        Contact c;
        for (qsizetype i = 0; i < row.size(); ++i) {
            QString value = row[i];
            value.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
            const int k = i < columns.size() ? columns[i] : 0;
            if (k >= kFieldCivility)
                c.field(k) = value;
            else if (!value.trimmed().isEmpty())
                c.notKept << (i < table.header.size() ? table.header[i] : QStringLiteral("colonne ") + QString::number(i + 1))
                                 + QStringLiteral(" : ") + value.trimmed();
        }
        contacts.push_back(std::move(c));
    }
    return contacts;
}

}  // namespace tb
