#pragma once
// CSV files for spreadsheets: written in UTF-8 with a header row of the field
// captions and RFC 4180 quoting; read with comma or semicolon, UTF-8 or
// Windows-1252, quotes and line breaks inside fields.
#include "core/base/error.h"
#include "core/exchange/card_choice.h"
#include "core/exchange/contact.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>
#include <vector>

namespace tb {

class Database;

// Fields 2 to 20 of the active cards (or every card), one row each, under the
// header row of exchangeCaptions(). Returns the number of cards written.
Result<long long> writeCsvFile(const Database& db, const QString& path, const CardChoice& cards);
// The rows of the exports: the header of exchangeCaptions() (header true),
// then fields 2 to 20 of each active card (or every card) without their
// padding. Returns the number of cards.
Result<long long> forEachExportedRow(const Database& db, const CardChoice& cards,
                                     const std::function<void(const QStringList& values, bool header)>& row);

enum class CsvEncoding { Utf8, Windows1252 };
QString encodingName(CsvEncoding encoding);  // "UTF-8", "Windows-1252"

struct CsvTable {
    CsvEncoding encoding = CsvEncoding::Utf8;
    QChar separator = u',';
    QStringList header;
    QList<QStringList> rows;
    // The first row was data: header holds "Colonne 1", "Colonne 2"...
    bool headerIsData = false;
};

// What a reader keeps of an outside file at most; beyond, the file is refused
// with a message naming the limit.
// A file of the largest size costs about fifteen times its size in memory.
constexpr qsizetype kCsvMaxBytes = 64 * 1024 * 1024;
constexpr qsizetype kCsvMaxValueChars = 65536;
constexpr qsizetype kCsvMaxColumns = 1000;
constexpr qsizetype kCsvMaxRows = 1000000;
constexpr qsizetype kCsvMaxValues = 16000000;

// A byte order mark or valid UTF-8 means UTF-8, anything else Windows-1252.
CsvEncoding guessEncoding(const QByteArray& bytes);
// The separator is the one of comma, semicolon and tab that the header row
// holds most often outside quotes. The first row is the header. Linear in the
// file; refuses a file beyond the limits above.
Result<CsvTable> parseCsv(const QByteArray& bytes, CsvEncoding encoding);
inline Result<CsvTable> parseCsv(const QByteArray& bytes) { return parseCsv(bytes, guessEncoding(bytes)); }
// parseCsv, then a first row that no header of matchColumns names and that
// holds an e-mail address or a phone number is taken as the first contact.
Result<CsvTable> readCsv(const QByteArray& bytes, CsvEncoding encoding, const QStringList& captions);

// The card field (2 to 20) each column fills by its header, 0 for none: the
// database's captions, then the headers other programs write (Outlook,
// Google, Thunderbird...). A field is taken by one column, except the home
// and work columns of an address or phone and the numbered phones, sorted out
// row by row by contactsFromCsv. captions: exchangeCaptions().
QList<int> matchColumns(const QStringList& header, const QStringList& captions);

// One contact per row that holds anything; line breaks inside a value become
// blanks. The home address is taken before the work one, a phone whose type
// says mobile goes to the mobile field, a birthday is written jj/mm/aaaa.
// notes (when given) receives what was chosen for the user ("DUPONT Jean :
// adresse professionnelle reprise...").
std::vector<Contact> contactsFromCsv(const CsvTable& table, const QList<int>& columns, QStringList* notes = nullptr);

// The columns as a user gives them, "3=2,4=1" (card field = column, both from
// 1), for a table of columnCount columns.
Result<QList<int>> columnsOption(const QString& text, qsizetype columnCount);
// The contacts of a CSV file for a command without a window: the columns by
// their headers, or as given ("3=2,4=1"). Without columns given, a file with
// no known header is refused with a message naming the columns it has.
// notes receives the encoding, separator and what contactsFromCsv notes.
Result<std::vector<Contact>> csvContacts(const QByteArray& bytes, const QStringList& captions,
                                         const QString& columnsGiven, QStringList* notes);
// "1 « Nom client », 2 « jean@exemple.fr »": the header, or the first row
// when it is data, for a message.
QString columnsSeen(const CsvTable& table);

}  // namespace tb
