#include "core/db/database_search.h"

#include "core/base/codepage.h"
#include "core/base/collation.h"
#include "core/base/freed_memory.h"
#include "core/cards/card_fields.h"
#include "core/lists/display_line.h"
#include "core/lists/search_rank.h"

#include <QHash>
#include <algorithm>
#include <optional>

namespace tb {

void DatabaseSearch::prepare(long long count)
{
    if (m_index || m_build.valid())
        return;
    // Both tables the reading uses are made here, on this thread.
    frenchPrimaryKey(QStringLiteral("a"));
    searchFold("a");
    const CardStore store = m_store;
    // The words are searchable after the first pass; the alphabetical places
    // follow from a second one, needed only when a search finds too many
    // cards to list them all; then the letter pairs, which speed the
    // look-ups of many cards.
    auto folded = std::make_shared<std::promise<std::unique_ptr<SearchIndex>>>();
    auto ordered = std::make_shared<std::promise<Result<std::vector<quint32>>>>();
    m_build = folded->get_future();
    m_orderBuild = ordered->get_future();
    m_pairsBuild = std::async(std::launch::async, [store, count, folded, ordered] {
        auto index = std::make_unique<SearchIndex>();
        // A failed read leaves what was read; the next change reads again.
        index->load(store, count).ok();
        folded->set_value(std::move(index));
        ordered->set_value(SearchIndex::readOrder(store, count));
        returnFreedMemory();
        Result<std::vector<quint64>> pairs = SearchIndex::readPairs(store, count);
        return std::make_pair(std::move(pairs), count);
    });
}

void DatabaseSearch::restart(long long count)
{
    if (!m_index && !m_build.valid() && !m_pairsBuild.valid())
        return;
    if (m_pairsBuild.valid())
        m_pairsBuild.get().first.ok();
    m_build = {};
    m_orderBuild = {};
    m_index.reset();
    m_changed.clear();
    m_orderChanged.clear();
    m_pairsChanged.clear();
    m_last = {};
    prepare(count);
}

void DatabaseSearch::takeOrder(bool wait)
{
    if (!m_orderBuild.valid() || !m_index)
        return;
    if (!wait && m_orderBuild.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    Result<std::vector<quint32>> order = m_orderBuild.get();
    if (order)
        m_index->setOrder(std::move(order).value());
    for (long long n : m_orderChanged)
        m_index->unrank(n);
    m_orderChanged.clear();
}

void DatabaseSearch::takePairs()
{
    if (!m_pairsBuild.valid() || !m_index || m_pairsBuild.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    auto [pairs, count] = m_pairsBuild.get();
    if (pairs)
        m_index->setPairs(std::move(pairs).value(), count, m_pairsChanged);
    m_pairsChanged.clear();
}

const SearchIndex& DatabaseSearch::index(long long count)
{
    prepare(count);
    if (m_build.valid()) {
        m_index = m_build.get();
        // Cards changed while the index was read are read again.
        std::vector<long long> changed;
        changed.swap(m_changed);
        for (long long n : changed)
            follow(n, count);
        m_index->resize(count);
    }
    takePairs();
    return *m_index;
}

void DatabaseSearch::follow(long long n, long long count)
{
    if (m_orderBuild.valid())
        m_orderChanged.push_back(n);
    if (m_pairsBuild.valid())
        m_pairsChanged.push_back(n);
    if (m_build.valid()) {
        m_changed.push_back(n);
        return;
    }
    if (!m_index)
        return;
    m_index->resize(count);
    if (n < 1 || n > count)
        return;
    // A card that cannot be read is found by nothing until it changes again.
    const Result<CardRecord> card = m_store.read(n);
    m_index->set(n, card ? card->toBytes() : QByteArray());
}

Result<SearchResult> DatabaseSearch::search(const QString& typed, int limit, long long count,
                                            const std::function<QStringList()>& captions)
{
    SearchResult result;
    const QByteArrayList words = searchWords(typed);
    if (words.isEmpty())
        return result;
    const SearchIndex& index = this->index(count);
    takeOrder(false);
    // Words that each hold a word of the last search, on the same cards,
    // find among the cards it found.
    const bool narrows = m_last.generation == index.generation() && !m_last.words.isEmpty()
                         && std::all_of(m_last.words.begin(), m_last.words.end(), [&](const QByteArray& old) {
                                return std::any_of(words.begin(), words.end(),
                                                   [&](const QByteArray& w) { return w.contains(old); });
                            });
    std::vector<quint32> matched = index.match(words, narrows ? &m_last.matched : nullptr);
    m_last = {words, index.generation(), std::move(matched)};
    const std::vector<quint32>& cards = m_last.matched;
    result.total = (long long)cards.size();
    // Without the places every card found is read: only for a few.
    if (!index.ordered() && limit > 0 && cards.size() > size_t(limit))
        takeOrder(true);
    const size_t want = limit > 0 ? size_t(limit) : cards.size();
    struct Found {
        long long number;
        SearchRank rank;
    };
    // Per kind (active, archived) and closeness, the first want cards in
    // alphabetical order; every card changed since the places were read.
    std::array<std::array<std::vector<Found>, 3>, 2> closest;
    std::array<std::vector<Found>, 2> unplaced;
    bool full = false;  // want active cards match in one field: none after them is shown
    const auto take = [&](quint32 n, bool placed) {
        const SearchRank rank = searchRank(words, index.folded(n));
        const size_t kind = index.active(n) ? 0 : 1;
        if (!placed) {
            unplaced[kind].push_back({n, rank});
            return;
        }
        std::vector<Found>& group = closest[kind][size_t(rank.match)];
        if (group.size() < want)
            group.push_back({n, rank});
        full = kind == 0 && rank.match == SearchMatch::OneField && group.size() >= want;
    };
    if (index.ordered() && cards.size() > size_t(index.size()) / 16) {
        // Many cards: the places walked in order, the cards found marked.
        std::vector<quint64> marks(size_t(index.size()) / 64 + 1);
        for (quint32 n : cards)
            marks[n / 64] |= quint64(1) << (n % 64);
        const auto marked = [&](quint32 n) { return n <= index.size() && (marks[n / 64] >> (n % 64)) & 1; };
        const std::vector<quint32>& byPlace = index.byPlace();
        for (size_t r = 0; r < byPlace.size() && !full; ++r)
            if (marked(byPlace[r]) && index.rank(byPlace[r]) == r)
                take(byPlace[r], true);
        for (quint32 n : index.unranked())
            if (marked(n) && index.rank(n) == SearchIndex::kUnranked) {
                take(n, false);
                marks[n / 64] &= ~(quint64(1) << (n % 64));  // listed once
            }
    } else {
        std::vector<std::pair<quint32, quint32>> places;  // place, card
        places.reserve(cards.size());
        for (quint32 n : cards)
            places.emplace_back(index.rank(n), n);
        std::sort(places.begin(), places.end());
        for (auto [place, n] : places)
            if (place == SearchIndex::kUnranked || !full)
                take(n, place != SearchIndex::kUnranked);
    }
    const QStringList fixed = fixedFieldCaptions();
    std::optional<QStringList> own;
    auto caption = [&](int field) {
        // The captions file is read only when a custom field is shown.
        if (field > 10 && !own)
            own = captions();
        const QString c = field <= 10 ? fixed.value(field - 2) : own->value(field - 11);
        return c.trimmed();
    };
    for (bool active : {true, false}) {
        // One alphabetical list per closeness of match, closest first.
        std::array<CardList, 3> groups;
        QHash<long long, QString> shown;  // the field found, as the line shows it
        // The want closest, then first, of this kind, and those without a
        // place; read in card order.
        const size_t kind = active ? 0 : 1;
        std::vector<const Found*> listed;
        size_t left = want;
        for (const std::vector<Found>& group : closest[kind])
            for (size_t k = 0; k < group.size() && left > 0; ++k, --left)
                listed.push_back(&group[k]);
        for (const Found& f : unplaced[kind])
            listed.push_back(&f);
        std::sort(listed.begin(), listed.end(), [](const Found* x, const Found* y) { return x->number < y->number; });
        std::vector<long long> numbers;
        for (const Found* f : listed)
            numbers.push_back(f->number);
        // The listed cards read with one opening of the file.
        size_t next = 0;
        const Status read = m_store.forEachOf(numbers, [&](long long n, QByteArrayView record) {
            const Found& found = *listed[next++];
            groups[size_t(found.rank.match)].add(displayLine(record, {3, 4, 6, 7}), n);
            const int field = found.rank.match == SearchMatch::OneField ? found.rank.field
                                                                        : index.fieldOf(n, words.front());
            if (field >= 2)
                shown.insert(n, QStringLiteral("   ") + caption(field) + QStringLiteral(" : ")
                                    + fromCp1252(CardRecord::fieldBytes(record, CardField(field))).trimmed());
        });
        if (!read)
            return read.error();
        for (CardList& group : groups) {
            group.sort();
            for (int row = 0; row < group.size() && size_t(result.list.size()) < want; ++row) {
                const long long n = group.number(row);
                QString line = group.display(row) + shown.value(n);
                if (!active)
                    line += QStringLiteral("   (archivée)");
                result.list.add(line, n);
            }
        }
    }
    return result;
}

}  // namespace tb
