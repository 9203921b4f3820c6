#include "core/exchange/ods.h"

#include "core/base/safe_write.h"
#include "core/cards/debt.h"
#include "core/exchange/csv.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QXmlStreamWriter>
#include <algorithm>
#include <optional>
#include <zlib.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace tb {

namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kManifest = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
const QString kMimeType = QStringLiteral("application/vnd.oasis.opendocument.spreadsheet");

bool isAmountField(int k)
{
    return std::find(kDebtFields.begin(), kDebtFields.end(), k) != kDebtFields.end();
}

// "1 250,50", "12.5" or ".50" (the stored form of 0.50) is a number;
// "12,50 €", "à voir" stay texts.
std::optional<double> plainNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^-?(?:\\d+(?:[.,]\\d*)?|[.,]\\d+)$"));
    QString t = text.trimmed();
    t.remove(u' ');
    if (!number.match(t).hasMatch())
        return std::nullopt;
    return t.replace(u',', u'.').toDouble();
}

// XML has no place for control characters.
QString xmlText(QString text)
{
    for (QChar& c : text)
        if (c.unicode() < 0x20 && c != u'\t')
            c = u' ';
    return text;
}

void writeCell(QXmlStreamWriter& xml, const QString& text, bool amount)
{
    xml.writeStartElement(kTable, QStringLiteral("table-cell"));
    if (!text.isEmpty()) {
        const std::optional<double> value = amount ? plainNumber(text) : std::nullopt;
        xml.writeAttribute(kOffice, QStringLiteral("value-type"), value ? QStringLiteral("float") : QStringLiteral("string"));
        if (value)
            xml.writeAttribute(kOffice, QStringLiteral("value"), QString::number(*value, 'g', 15));
        xml.writeTextElement(kText, QStringLiteral("p"), xmlText(text));
    }
    xml.writeEndElement();
}

QByteArray manifest()
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    xml.writeNamespace(kManifest, QStringLiteral("manifest"));
    xml.writeStartElement(kManifest, QStringLiteral("manifest"));
    xml.writeAttribute(kManifest, QStringLiteral("version"), QStringLiteral("1.2"));
    const auto entry = [&](const QString& path, const QString& type) {
        xml.writeEmptyElement(kManifest, QStringLiteral("file-entry"));
        xml.writeAttribute(kManifest, QStringLiteral("full-path"), path);
        xml.writeAttribute(kManifest, QStringLiteral("media-type"), type);
    };
    entry(QStringLiteral("/"), kMimeType);
    entry(QStringLiteral("content.xml"), QStringLiteral("text/xml"));
    xml.writeEndDocument();
    return out;
}

// The package: "mimetype" first and stored as is, as the format requires.
std::optional<QByteArray> zipped(const QByteArray& content)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate))
        return std::nullopt;
    const auto add = [&](const QString& name, const QByteArray& data, bool stored) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, stored ? 0 : Z_DEFLATED,
                       stored ? 0 : Z_DEFAULT_COMPRESSION))
            return false;
        const bool written = file.write(data) == data.size();
        file.close();
        return written && file.getZipError() == ZIP_OK;
    };
    const bool ok = add(QStringLiteral("mimetype"), kMimeType.toLatin1(), true)
                    && add(QStringLiteral("META-INF/manifest.xml"), manifest(), false)
                    && add(QStringLiteral("content.xml"), content, false);
    zip.close();
    if (!ok || zip.getZipError() != ZIP_OK)
        return std::nullopt;
    return bytes;
}

}  // namespace

Result<long long> writeOdsFile(const Database& db, const QString& path, const CardChoice& cards)
{
    QByteArray content;
    QXmlStreamWriter xml(&content);
    xml.writeStartDocument();
    xml.writeNamespace(kOffice, QStringLiteral("office"));
    xml.writeNamespace(kTable, QStringLiteral("table"));
    xml.writeNamespace(kText, QStringLiteral("text"));
    xml.writeStartElement(kOffice, QStringLiteral("document-content"));
    xml.writeAttribute(kOffice, QStringLiteral("version"), QStringLiteral("1.2"));
    xml.writeStartElement(kOffice, QStringLiteral("body"));
    xml.writeStartElement(kOffice, QStringLiteral("spreadsheet"));
    xml.writeStartElement(kTable, QStringLiteral("table"));
    xml.writeAttribute(kTable, QStringLiteral("name"), QStringLiteral("Fiches"));
    const auto row = [&](const QStringList& values, bool header) {
        xml.writeStartElement(kTable, QStringLiteral("table-row"));
        for (qsizetype i = 0; i < values.size(); ++i)
            writeCell(xml, values[i], !header && isAmountField(int(i) + kFieldCivility));
        xml.writeEndElement();
    };
    const Result<long long> written = forEachExportedRow(db, cards, row);
    if (!written)
        return written;
    xml.writeEndDocument();
    const std::optional<QByteArray> package = zipped(content);
    if (!package)
        return Error{kNoErrorNumber, QStringLiteral("Le classeur n'a pas pu être assemblé : ") + path};
    if (Status s = writeFileAtomic(path, *package); !s)
        return s.error();
    return written;
}

}  // namespace tb
