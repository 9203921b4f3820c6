#include "core/journals/journal.h"

#include "core/base/codepage.h"
#include "core/base/masks.h"
#include "core/base/safe_write.h"
#include "core/cards/debt.h"
#include "core/db/database.h"
#include "core/journals/journal_entries.h"
#include "core/lists/list_page_layout.h"

#include <QFile>

namespace tb {

SideFile journalFile(JournalKind kind)
{
    switch (kind) {
    case JournalKind::Collections: return SideFile::Collections;
    case JournalKind::Interest: return SideFile::Interest;
    case JournalKind::Memento: break;
    }
    return SideFile::Memento;
}

QString journalTitle(JournalKind kind)
{
    switch (kind) {
    case JournalKind::Collections: return QStringLiteral("Journal des recouvrements");
    case JournalKind::Interest: return QStringLiteral("Journal des intérêts");
    case JournalKind::Memento: break;
    }
    return QStringLiteral("Mémento");
}

QStringList journalEntries(const QByteArray& bytes)
{
    QStringList out;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            out.append(fromCp1252(line));
    }
    return out;
}

QByteArray journalBytes(const QStringList& entries)
{
    QByteArray out;
    for (const QString& e : entries)
        out += toCp1252(e) + "\r\n";
    return out;
}

double journalTotal(const QStringList& entries)
{
    double total = 0;
    for (const QString& e : entries)
        total += leadingAmount(e);
    return total;
}

QStringList journalPrintLines(const QStringList& entries, const CardRecord& card, JournalKind kind,
                              const QDate& date)
{
    QStringList out{listDateText(date), card.field(kFieldSurname).trimmed() + u' ' + card.field(kFieldFirstNames).trimmed(),
                    journalTitle(kind), QString()};
    for (const QString& e : entries) {
        out.append(e);
        out.append(QString());
    }
    return out;
}

Result<Journal> Journal::open(Database& db, long long n, JournalKind kind, std::optional<CardRecord> card)
{
    if (!card) {
        Result<CardRecord> stored = db.card(n);
        if (!stored)
            return stored.error();
        card = std::move(stored.value());
    }
    Journal journal(db, n, kind, std::move(*card), db.findSideFile(journalFile(kind), n));
    // A journal not made yet is an empty one.
    if (QFile::exists(journal.m_path)) {
        Result<QByteArray> bytes = readFile(journal.m_path);
        if (!bytes)
            return bytes.error();
        journal.m_entries = journalEntries(*bytes);
    }
    return journal;
}

Status Journal::add(const QString& line)
{
    QStringList entries = m_entries;
    // The entry as the file holds it, so that the list never shows more.
    entries.append(keepCp1252(line));
    return commit(entries);
}

Status Journal::remove(int index)
{
    QStringList entries = m_entries;
    if (index >= 0 && index < entries.size())
        entries.removeAt(index);
    return commit(entries);
}

CardRecord Journal::cardFor(const QStringList& entries) const
{
    CardRecord card = m_card;
    const auto set = [&](CardField k, const QString& text) { card.field(k) = padField(text, CardRecord::width(k)); };
    const double total = journalTotal(entries);
    if (m_kind == JournalKind::Collections) {
        set(kFieldCollected, pointForm(total));
    } else if (m_kind == JournalKind::Interest) {
        set(kFieldInterestOwed, pointForm(total));
    } else {
        return card;
    }
    const auto debt = debtCalculation(card.field(kFieldOwed), card.field(kFieldInterestOwed), card.field(kFieldThirdOwed), card.field(kFieldCollected));
    for (size_t i = 0; i < debt.size(); ++i)
        set(kDebtFields[i], debt[i]);
    return card;
}

Status Journal::commit(const QStringList& entries)
{
    const bool existed = QFile::exists(m_path);
    const QByteArray before = existed ? readWholeFile(m_path) : QByteArray();
    if (Status s = writeFileAtomic(m_path, journalBytes(entries)); !s)
        return s;
    const CardRecord card = cardFor(entries);
    if (m_kind != JournalKind::Memento && m_number >= 1) {
        if (Status s = m_db->storeCard(m_number, card); !s) {
            // The journal goes back to what the card still counts.
            if (existed)
                (void)writeFileAtomic(m_path, before);
            else
                QFile::remove(m_path);
            return s;
        }
    }
    m_entries = entries;
    m_card = card;
    return {};
}

Status Journal::storeCard()
{
    if (m_number < 1)
        return {};
    return m_db->storeCard(m_number, m_card);
}

}  // namespace tb
