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
    // cards to list them all.
    auto folded = std::make_shared<std::promise<std::unique_ptr<SearchIndex>>>();
    m_build = folded->get_future();
    m_orderBuild = std::async(std::launch::async, [store, count, folded] {
        auto index = std::make_unique<SearchIndex>();
        // A failed read leaves what was read; the next change reads again.
        index->load(store, count).ok();
        folded->set_value(std::move(index));
        Result<std::vector<quint32>> order = SearchIndex::readOrder(store, count);
        returnFreedMemory();
        return order;
    });
}

void DatabaseSearch::restart(long long count)
{
    if (!m_index && !m_build.valid() && !m_orderBuild.valid())
        return;
    if (m_orderBuild.valid())
        m_orderBuild.get().ok();
    m_build = {};
    m_index.reset();
    m_changed.clear();
    m_orderChanged.clear();
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
    return *m_index;
}

void DatabaseSearch::follow(long long n, long long count)
{
    if (m_orderBuild.valid())
        m_orderChanged.push_back(n);
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
    struct Found {
        SearchHit hit;
        SearchRank rank;
        quint32 place = SearchIndex::kUnranked;
    };
    const std::vector<SearchHit> matched = index.find(words);
    std::vector<Found> hits;
    hits.reserve(matched.size());
    for (const SearchHit& hit : matched)
        hits.push_back({hit, SearchRank{}});
    result.total = (long long)hits.size();
    // Without the places every card found is read: only for a few.
    if (!index.ordered() && limit > 0 && hits.size() > size_t(limit))
        takeOrder(true);
    // Each place read once, in card order: the sorts below compare them at hand.
    for (Found& found : hits)
        found.place = index.rank(found.hit.number);
    const size_t want = limit > 0 ? size_t(limit) : hits.size();
    const auto archived = std::stable_partition(hits.begin(), hits.end(), [](const Found& f) { return f.hit.active; });
    auto byPlace = [](const Found& a, const Found& b) { return a.place < b.place; };
    auto byMatchThenPlace = [](const Found& a, const Found& b) {
        return std::pair(a.rank.match, a.place) < std::pair(b.rank.match, b.place);
    };
    for (auto [from, to] : {std::pair(hits.begin(), archived), std::pair(archived, hits.end())}) {
        // How closely each card matches, read in alphabetical order until
        // want cards match in one field: no card after them can be shown.
        size_t oneField = 0;
        size_t chunk = std::max<size_t>(want, 256);
        auto next = from;
        while (next != to && oneField < want) {
            const auto end = size_t(to - next) > chunk ? next + ptrdiff_t(chunk) : to;
            if (end != to)
                std::nth_element(next, end, to, byPlace);
            for (auto it = next; it != end; ++it) {
                it->rank = searchRank(words, index.folded(it->hit.number));
                oneField += it->rank.match == SearchMatch::OneField ? 1 : 0;
            }
            next = end;
            chunk *= 2;
        }
        // Cards changed since the places were read have none: all are kept
        // for the exact sort below.
        for (auto it = next; it != to; ++it)
            if (it->place == SearchIndex::kUnranked)
                it->rank = searchRank(words, index.folded(it->hit.number));
        // The closest matches, then the first places, come to the front:
        // the want cards matching in one field among [from, next) come before
        // every card past it, whose places are all greater.
        const auto last = oneField >= want ? next : to;
        if (size_t(last - from) > want)
            std::nth_element(from, from + ptrdiff_t(want), last, byMatchThenPlace);
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
        size_t ranked = 0;
        std::vector<const Found*> listed;
        std::vector<long long> numbers;
        for (const Found& found : hits) {
            const SearchHit& hit = found.hit;
            if (hit.active != active)
                continue;
            const bool hasRank = found.place != SearchIndex::kUnranked;
            if (hasRank && ranked >= want)
                continue;
            ranked += hasRank ? 1 : 0;
            listed.push_back(&found);
            numbers.push_back(hit.number);
        }
        // The listed cards read with one opening of the file.
        size_t next = 0;
        const Status read = m_store.forEachOf(numbers, [&](long long n, QByteArrayView record) {
            const Found& found = *listed[next++];
            groups[size_t(found.rank.match)].add(displayLine(record, {3, 4, 6, 7}), n);
            const int field = found.rank.match == SearchMatch::OneField ? found.rank.field : found.hit.field;
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
