#pragma once
// The search box's index: every field of every card folded to lower-case
// letters without accents and digits, read in one pass over the records
// (in the background when a database opens) and kept in step as cards change.
#include "core/base/error.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <string_view>
#include <vector>

class CardStore;

namespace tb {

// A text as the search compares it: letters in lower case without accents
// ("Œ" as "oe"), anything else but digits as a blank, blanks between two
// digits dropped ("05 46 12" gives "054612"), blanks run together.
QByteArray searchFold(QByteArrayView cp1252Bytes);
// The words of a typed text, folded the same way; none for blanks alone.
QByteArrayList searchWords(const QString& typed);

struct SearchHit {
    long long number = 0;
    int field = 0;  // the field (2 to 20) where the first word was found
    bool active = false;
};

class SearchIndex {
public:
    // Cards 1..count from the records, in one pass of large blocks; safe off
    // the main thread.
    Status load(const CardStore& store, long long count);
    void set(long long n, QByteArrayView record);
    void resize(long long count);
    long long size() const { return (long long)m_cards.size(); }

    // Cards holding every word (each in any of their fields 2 to 20), in card
    // order. No word finds nothing.
    std::vector<SearchHit> find(const QByteArrayList& words) const;
    // Card n as the index holds it: each field's number (a byte of 2 to 20)
    // followed by its folded text; empty fields left out.
    std::string_view folded(long long n) const;

    // Place of card n in the alphabetical order of all cards (by the first
    // level of the French order); none (kUnranked) before the order is given
    // and for cards changed since it was read.
    static constexpr quint32 kUnranked = 0xFFFFFFFF;
    // From this many cards the index is read, and looked through, in two
    // halves at once.
    static constexpr long long kSplitCards = 4096;
    quint32 rank(long long n) const;
    bool ordered() const { return !m_rank.empty() || m_cards.empty(); }
    // The places of cards 1..count, from a second pass (safe off the main
    // thread).
    static Result<std::vector<quint32>> readOrder(const CardStore& store, long long count);
    void setOrder(std::vector<quint32> ranks);
    void unrank(long long n);

    size_t memoryBytes() const;

private:
    struct Slot {
        quint32 start = 0;
        quint16 length = 0;
        bool active = false;
    };
    void append(long long n, QByteArrayView record);
    Status readRange(const CardStore& store, long long first, long long last);

    QByteArray m_text;  // per card: field number byte, then its folded text
    std::vector<Slot> m_cards;
    qsizetype m_garbage = 0;  // bytes of replaced cards still in m_text
    std::vector<quint32> m_rank;
};

}  // namespace tb
