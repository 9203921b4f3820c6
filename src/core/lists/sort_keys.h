#pragma once
// The sort keys of every card for the lists made of the whole database,
// computed once from the records' bytes, and the lists sorted in stages from
// them: the first rows at once, the rest on another thread.
#include "core/base/error.h"
#include "core/cards/card_store.h"
#include "core/lists/card_list.h"
#include "core/lists/card_lists.h"

#include <QByteArrayView>

#include <array>

#include <optional>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tb {

// For each card 1..count: the cheap first-level key (see frenchPrimaryKey) of
// its line and of its number's " Fiche n°" text, one byte per unit, so that
// the key order is the byte order and two lists on the same fields share it.
// The first two fields make the name part (the card window's name list sorts
// on that part alone). Immutable once handed to another thread: the database
// copies it to change it.
class SortKeys {
public:
    // False when some byte of the code page has no key of its own (the lists
    // then sort their lines the slow way). Call first on the main thread.
    static bool usable();

    // From this many cards the keys are made in two halves at once.
    static constexpr long long kSplitCards = 4096;

    explicit SortKeys(const KeyFields& fields = keyFields(ListKind::Alphabetical)) : m_fields(fields) {}
    // Safe off the main thread once usable() was called.
    Status load(const CardStore& store, long long count);
    // Card n's record as it is now (n up to count + 1).
    void set(long long n, QByteArrayView record);
    // Cards past count dropped, missing ones read.
    Status resize(const CardStore& store, long long count);

    long long count() const { return (long long)m_cards.size(); }
    const KeyFields& fields() const { return m_fields; }
    bool active(long long n) const { return m_cards[size_t(n - 1)].active; }
    // Cards by index (card number - 1): the whole line's order, or the name
    // part's (surname, first names).
    bool lineLess(quint32 a, quint32 b) const;
    bool nameLess(quint32 a, quint32 b) const;
    // The first bytes of a card's key (of its name part and number's with
    // namePart), in the order of the keys.
    std::array<quint64, 2> start(quint32 index, bool namePart) const;

private:
    struct Card {
        size_t offset = 0;        // into m_keys: name part, rest of the line, number
        quint16 name = 0, rest = 0;
        quint8 number = 0;
        bool active = false;
    };
    void append(long long n, QByteArrayView record, Card& card, std::string& keys) const;

    KeyFields m_fields;
    std::vector<Card> m_cards;
    std::string m_keys;
    size_t m_stale = 0;  // bytes of m_keys no card points to any more
};

// Which cards a list holds and how it sorts them.
enum class ListOrder { Line, Name };

// A list sorted in stages. start() sorts the first rows; takeMore() gives the
// rows sorted since, in order, to append after them, until done().
class ListFill {
public:
    // A card to sort with the start of its key.
    struct Item {
        quint64 start, next;
        quint32 card;
    };

    // kind's cards (every card for the name list) sorted from keys; the lines
    // are read from store. With more than firstRows cards, the rest is sorted
    // on another thread.
    static Result<std::shared_ptr<ListFill>> start(std::shared_ptr<const SortKeys> keys, const CardStore& store,
                                                   ListKind kind, ListOrder order, int firstRows);
    // A list sorted already.
    static std::shared_ptr<ListFill> whole(ListKind kind, ListOrder order, CardList list);
    // The whole list at once, on this thread.
    static Result<CardList> sortAll(std::shared_ptr<const SortKeys> keys, const CardStore& store, ListKind kind,
                                    ListOrder order);
    ~ListFill();

    ListKind kind() const { return m_kind; }
    ListOrder order() const { return m_order; }
    CardList takeFirst() { return std::move(m_first); }
    CardList takeMore();
    bool done() const;
    // Why the rest could not be read (once done).
    Status status() const;

private:
    struct Shared;
    ListFill() = default;
    void sortRest(int firstRows);

    ListKind m_kind = ListKind::Alphabetical;
    ListOrder m_order = ListOrder::Line;
    CardList m_first;
    std::shared_ptr<Shared> m_shared;
};

// The line card n shows in kind's list (or in the name list), or nothing
// when the card does not belong to it.
std::optional<QString> listLine(QByteArrayView record, ListKind kind, ListOrder order);

}  // namespace tb
