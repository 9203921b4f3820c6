#include "core/db/database_search.h"

#include "core/base/collation.h"
#include "core/cards/card_fields.h"
#include "core/lists/display_line.h"

#include <QHash>
#include <algorithm>

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
        return SearchIndex::readOrder(store, count);
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

Result<SearchResult> DatabaseSearch::search(const QString& typed, int limit, long long count, const QStringList& captions)
{
    SearchResult result;
    const QByteArrayList words = searchWords(typed);
    if (words.isEmpty())
        return result;
    const SearchIndex& found = index(count);
    takeOrder(false);
    std::vector<SearchHit> hits = found.find(words);
    result.total = (long long)hits.size();
    // Without the places every card found is read: only for a few.
    if (!found.ordered() && limit > 0 && hits.size() > size_t(limit))
        takeOrder(true);
    // In each group (active, archived) the first places come to the front;
    // cards changed since the places were read have none and are all kept
    // for the exact sort below.
    const size_t want = limit > 0 ? size_t(limit) : hits.size();
    const auto archived = std::stable_partition(hits.begin(), hits.end(), [](const SearchHit& h) { return h.active; });
    auto byPlace = [&](const SearchHit& a, const SearchHit& b) { return found.rank(a.number) < found.rank(b.number); };
    for (auto [from, to] : {std::pair(hits.begin(), archived), std::pair(archived, hits.end())})
        if (size_t(to - from) > want)
            std::nth_element(from, from + ptrdiff_t(want), to, byPlace);
    const QStringList fixed = fixedFieldCaptions();
    auto caption = [&](int field) {
        const QString c = field <= 10 ? fixed.value(field - 2) : captions.value(field - 11);
        return c.trimmed();
    };
    for (bool active : {true, false}) {
        CardList group;
        QHash<long long, QString> shown;  // the field found, as the line shows it
        size_t ranked = 0;
        for (const SearchHit& hit : hits) {
            if (hit.active != active)
                continue;
            const bool hasRank = found.rank(hit.number) != SearchIndex::kUnranked;
            if (hasRank && ranked >= want)
                continue;
            ranked += hasRank ? 1 : 0;
            const Result<CardRecord> card = m_store.read(hit.number);
            if (!card)
                return card.error();
            group.add(displayLine(card->toBytes(), {3, 4, 6, 7}), hit.number);
            if (hit.field >= 2)
                shown.insert(hit.number, QStringLiteral("   ") + caption(hit.field) + QStringLiteral(" : ")
                                             + card->field(CardField(hit.field)).trimmed());
        }
        group.sort();
        for (int row = 0; row < group.size() && size_t(result.list.size()) < want; ++row) {
            const long long n = group.number(row);
            QString line = group.display(row) + shown.value(n);
            if (!active)
                line += QStringLiteral("   (archivée)");
            result.list.add(line, n);
        }
    }
    return result;
}

}  // namespace tb
