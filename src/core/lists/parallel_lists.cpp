#include "core/lists/parallel_lists.h"

#include "core/base/collation.h"
#include "core/base/number_text.h"

#include <algorithm>
#include <numeric>

namespace tb {

QString sortLine(const QString& display, long long number)
{
    return display + QStringLiteral(" Fiche n°          ") + numberText(double(number));
}

QString numberEntry(const QString& sortLine)
{
    return sortLine.right(10);
}

void ParallelLists::add(const QString& display, long long number)
{
    m_entries.push_back({display, sortLine(display, number), number});
}

void ParallelLists::sort()
{
    // One cheap key per line; the collator itself only settles equal keys.
    std::vector<QString> keys;
    keys.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        keys.push_back(frenchPrimaryKey(e.sortLine));
    std::vector<size_t> order(m_entries.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = QString::compare(keys[a], keys[b]);
        if (c != 0)
            return c < 0;
        return frenchCompare(m_entries[a].sortLine, m_entries[b].sortLine) < 0;
    });
    std::vector<Entry> sorted;
    sorted.reserve(m_entries.size());
    for (size_t i : order)
        sorted.push_back(std::move(m_entries[i]));
    m_entries = std::move(sorted);
}

template <typename Column>
QStringList ParallelLists::column(Column of) const
{
    QStringList lines;
    lines.reserve(size());
    for (const Entry& e : m_entries)
        lines.append(of(e));
    return lines;
}

QStringList ParallelLists::displayLines() const
{
    return column([](const Entry& e) { return e.display; });
}

QStringList ParallelLists::sortLines() const
{
    return column([](const Entry& e) { return e.sortLine; });
}

QStringList ParallelLists::numberEntries() const
{
    return column([](const Entry& e) { return numberEntry(e.sortLine); });
}

long long ParallelLists::numberAt(int row) const
{
    if (row < 0 || row >= size())
        return 0;
    return m_entries[size_t(row)].number;
}

}  // namespace tb
