#pragma once
// The search box's index: every field of every card folded to lower-case
// letters without accents and digits, read in one pass over the records
// (in the background when a database opens) and kept in step as cards change.
#include "core/base/error.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <array>
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

class SearchIndex {
public:
    // Cards 1..count from the records, in one pass of large blocks; safe off
    // the main thread.
    Status load(const CardStore& store, long long count);
    void set(long long n, QByteArrayView record);
    void resize(long long count);
    long long size() const { return (long long)m_cards.size(); }

    // Cards holding every word (each in any of their fields 2 to 20), in card
    // order. No word finds nothing. Among: only those cards (in card order),
    // when the cards found by fewer or shorter words are known.
    std::vector<quint32> match(const QByteArrayList& words, const std::vector<quint32>* among = nullptr) const;
    // The field (2 to 20) of card n where word first occurs, 0 for none.
    int fieldOf(long long n, QByteArrayView word) const;
    bool active(long long n) const { return n >= 1 && n <= size() && m_cards[size_t(n - 1)].active; }
    // Changes with every change of the cards' texts.
    quint64 generation() const { return m_generation; }
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
    // The cards by their places (card numbers; a place whose card was
    // changed since holds its old card), and the cards changed since.
    const std::vector<quint32>& byPlace() const { return m_byPlace; }
    const std::vector<quint32>& unranked() const { return m_unranked; }

    // The rows of the letter pairs of cards 1..count, from a pass of their
    // own (safe off the main thread): words are looked for faster once they
    // are given. Cards changed since are taken from the index's own texts.
    static Result<std::vector<quint64>> readPairs(const CardStore& store, long long count);
    void setPairs(std::vector<quint64> rows, long long count, const std::vector<long long>& changed);
    bool paired() const { return m_paired; }

    size_t memoryBytes() const;

private:
    struct Slot {
        quint32 start = 0;
        quint16 length = 0;
        quint8 part = 0;  // which text holds it
        bool active = false;
    };
    void append(long long n, QByteArrayView record);
    // Marks (or clears) card n in the rows of the letter pairs its text holds.
    void markPairs(long long n, std::string_view text, bool on);
    void reservePairs(long long count);
    Status readRange(const CardStore& store, long long first, long long last, int part);
    void changed();

    // Per card: field number byte, then its folded text. A large file's second
    // half read apart stays in the second text, uncopied.
    std::array<QByteArray, 2> m_text;
    std::vector<Slot> m_cards;
    std::vector<quint64> m_letters;  // per card: which letters and digits it holds
    // Per pair of letters ("aa" to "zz"), one bit per card holding it: a word
    // of two letters is answered from its row alone, longer ones looked for
    // only in the cards of all their pairs. Rows of m_pairWords words.
    std::vector<quint64> m_pairs;
    size_t m_pairWords = 0;
    bool m_paired = false;
    qsizetype m_garbage = 0;  // bytes of replaced cards still in the texts
    std::vector<quint32> m_rank;
    std::vector<quint32> m_byPlace;
    std::vector<quint32> m_unranked;
    quint64 m_generation = 0;
};

}  // namespace tb
