// CSV files other programs write, read as the import window and the command
// read them: every row with something in it becomes one contact, and a table
// always reads back from the CSV text of its own rows.
#include "core/exchange/csv.h"
#include "fuzz_support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    static const QStringList captions = tb::exchangeCaptions(
        {QStringLiteral("Profession"), QStringLiteral("Date de naissance"), QStringLiteral("Société"),
         QStringLiteral("Observations")});
    for (const tb::CsvEncoding encoding : {tb::CsvEncoding::Utf8, tb::CsvEncoding::Windows1252}) {
        const tb::Result<tb::CsvTable> table = tb::readCsv(bytes, encoding, captions);
        if (!table)
            continue;
        const QList<int> columns = tb::matchColumns(table->header, captions);
        if (columns.size() != table->header.size())
            std::abort();
        QStringList notes;
        const std::vector<tb::Contact> contacts = tb::contactsFromCsv(*table, columns, &notes);
        if (qsizetype(contacts.size()) > table->rows.size())
            std::abort();
        (void)tb::columnsSeen(*table);
    }
    QStringList notes;
    (void)tb::csvContacts(bytes, captions, QString::fromUtf8(bytes.left(64)), &notes);
    return 0;
}
