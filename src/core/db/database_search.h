#pragma once
// The search box's search over one database: the index of every card's
// words, read in the background when the database opens and kept in step as
// cards change, and the lines it lists.
#include "core/base/error.h"
#include "core/cards/card_store.h"
#include "core/lists/card_list.h"
#include "core/lists/search_index.h"

#include <QStringList>
#include <functional>
#include <future>
#include <memory>
#include <vector>

namespace tb {

// What the search box lists: at most the lines asked for; total counts
// every card found.
struct SearchResult {
    CardList list;
    long long total = 0;
};

class DatabaseSearch {
public:
    explicit DatabaseSearch(const CardStore& store) : m_store(store) {}

    // Starts reading the index of count cards in the background; the first
    // search waits for it (or reads it at once when it was never started).
    void prepare(long long count);
    // The records changed under the program: an index started is read again.
    void restart(long long count);
    // Card n changed (or the count did).
    void follow(long long n, long long count);
    // The index, its letter pairs taken when read.
    const SearchIndex& index(long long count);
    // The cards holding every typed word in any field, active ones then
    // archived ones; in each, the cards where every word begins a word of one
    // field, then of several fields, then the rest (searchRank), each in
    // alphabetical order. A line is the alphabetical list's line, the field
    // where the words were found (named by captions(), those of fields 11 to
    // 20) and, for an archived card, "(archivée)". At most limit lines (0: all).
    Result<SearchResult> search(const QString& typed, int limit, long long count,
                                const std::function<QStringList()>& captions);

private:
    // The alphabetical places of the index, when read (or waiting for them).
    void takeOrder(bool wait);
    // The letter pairs, when read.
    void takePairs();

    CardStore m_store;
    std::unique_ptr<SearchIndex> m_index;
    std::future<std::unique_ptr<SearchIndex>> m_build;
    std::vector<long long> m_changed;  // while it is read
    std::future<Result<std::vector<quint32>>> m_orderBuild;
    std::vector<long long> m_orderChanged;  // while the order is read
    std::future<std::pair<Result<std::vector<quint64>>, long long>> m_pairsBuild;
    std::vector<long long> m_pairsChanged;  // while the pairs are read
    // The last search's words and cards, while the index has not changed.
    struct Last {
        QByteArrayList words;
        quint64 generation = 0;
        std::vector<quint32> matched;
    } m_last;
};

}  // namespace tb
