// A journal file ("R12.txt", "I12.txt", "M12.txt"): its entries, their total,
// their printed lines; entries written back read back the same.
#include "core/journals/journal.h"
#include "core/journals/journal_dates.h"
#include "fuzz_support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QStringList entries = tb::journalEntries(bytes);
    (void)tb::journalTotal(entries);
    (void)tb::journalPrintLines(entries, CardRecord::fromBytes(bytes), tb::JournalKind::Collections, QDate(2026, 12, 7));
    for (const QString& e : entries)
        (void)tb::journalDate(e.left(8), 2026);
    if (tb::journalEntries(tb::journalBytes(entries)) != entries)
        std::abort();
    return 0;
}
