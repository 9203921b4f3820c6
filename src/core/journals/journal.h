#pragma once
// The ledger engine behind the three journals of a card: the journal file
// (R, I or M + card number + ".txt") loaded without its empty lines and
// written whole after every change, and for the two money journals the card's
// debt fields written back and the card stored with the journal, so that the
// two never disagree.
#include "core/base/error.h"
#include "core/cards/card_record.h"
#include "core/cards/side_files.h"

#include <QDate>
#include <QStringList>
#include <optional>

namespace tb {

class Database;

enum class JournalKind { Collections, Interest, Memento };

// The side file that holds it.
SideFile journalFile(JournalKind kind);
// The printed title: "Journal des recouvrements", "Journal des intérêts", "Mémento".
QString journalTitle(JournalKind kind);

// The entries of a journal file's bytes: every line that is not empty, CR LF
// or LF ends; commas and blanks belong to the entry.
QStringList journalEntries(const QByteArray& bytes);
// One entry per line, each ended by CR LF.
QByteArray journalBytes(const QStringList& entries);

// Sum of the leading amounts of the entries.
double journalTotal(const QStringList& entries);

// The printed lines: date (dd/mm/yyyy), surname and first names, title, an
// empty line, then each entry followed by an empty line.
QStringList journalPrintLines(const QStringList& entries, const CardRecord& card, JournalKind kind,
                              const QDate& date);

class Journal {
public:
    // Journal of card n. card: the card as the card window holds it (its
    // fields are what the money journals store); none reads card n.
    static Result<Journal> open(Database& db, long long n, JournalKind kind,
                                std::optional<CardRecord> card = std::nullopt);

    JournalKind kind() const { return m_kind; }
    long long cardNumber() const { return m_number; }
    const QStringList& entries() const { return m_entries; }
    const CardRecord& card() const { return m_card; }
    QString path() const { return m_path; }
    double total() const { return journalTotal(m_entries); }

    // Adds an entry at the end (less the characters the code page cannot
    // hold) / removes entry index (nothing removed when out
    // of range, the rest still runs). The file is rewritten and, for the money
    // journals, the card stored; on failure both files stay as they were and
    // so does the journal.
    Status add(const QString& line);
    Status remove(int index);

    // Stores the card as held (the journals' closing).
    Status storeCard();

private:
    Journal(Database& db, long long n, JournalKind kind, CardRecord card, QString path)
        : m_db(&db), m_number(n), m_kind(kind), m_card(std::move(card)), m_path(std::move(path))
    {
    }
    Status commit(const QStringList& entries);
    // The card with its debt fields following the entries.
    CardRecord cardFor(const QStringList& entries) const;

    Database* m_db;
    long long m_number;
    JournalKind m_kind;
    CardRecord m_card;
    QString m_path;
    QStringList m_entries;
};

}  // namespace tb
