#pragma once
// CSV files for spreadsheets: written in UTF-8 with a header row of the field
// captions and RFC 4180 quoting; read with comma or semicolon, UTF-8 or
// Windows-1252, quotes and line breaks inside fields.
#include "core/base/error.h"
#include "core/exchange/contact.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <vector>

namespace tb {

class Database;

// Fields 2 to 20 of the active cards (or every card), one row each, under the
// header row of exchangeCaptions(). Returns the number of cards written.
Result<long long> writeCsvFile(const Database& db, const QString& path, bool includeArchived);

enum class CsvEncoding { Utf8, Windows1252 };
QString encodingName(CsvEncoding encoding);  // "UTF-8", "Windows-1252"

struct CsvTable {
    CsvEncoding encoding = CsvEncoding::Utf8;
    QChar separator = u',';
    QStringList header;
    QList<QStringList> rows;
};

// A byte order mark or valid UTF-8 means UTF-8, anything else Windows-1252.
CsvEncoding guessEncoding(const QByteArray& bytes);
// The separator is the one of comma, semicolon and tab that the header row
// holds most often outside quotes. The first row is the header.
CsvTable parseCsv(const QByteArray& bytes, CsvEncoding encoding);
inline CsvTable parseCsv(const QByteArray& bytes) { return parseCsv(bytes, guessEncoding(bytes)); }

// The card field (2 to 20) each column fills by its header, 0 for none; each
// field is taken by one column at most. captions: exchangeCaptions().
QList<int> matchColumns(const QStringList& header, const QStringList& captions);

// One contact per row; line breaks inside a value become blanks.
std::vector<Contact> contactsFromCsv(const CsvTable& table, const QList<int>& columns);

}  // namespace tb
