#include "core/lists/card_list.h"

#include "core/base/collation.h"
#include "core/base/number_text.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace tb {

QString sortLine(const QString& display, long long number)
{
    return display + QStringLiteral(" Fiche n°          ") + numberText(double(number));
}

void CardList::add(QString display, long long number)
{
    m_lines.push_back({std::move(display), number});
    m_sorted = false;
}

namespace {

// The cheap key of a sort line, appended to keys.
void appendKey(const QString& display, long long number, std::u16string& keys)
{
    if (appendFrenchPrimaryKey(display, keys))
        appendFrenchPrimaryKey(sortLine(QString(), number), keys);
}

int compareKeys(std::u16string_view a, std::u16string_view b)
{
    return a.compare(b);
}

}  // namespace

bool CardList::less(const Line& a, const Line& b)
{
    std::u16string ka, kb;
    appendKey(a.display, a.number, ka);
    appendKey(b.display, b.number, kb);
    if (const int c = compareKeys(ka, kb); c != 0)
        return c < 0;
    // Equal cheap keys (case and accents alone differ): the collator decides.
    return frenchCompare(sortLine(a.display, a.number), sortLine(b.display, b.number)) < 0;
}

void CardList::sort()
{
    // Every key in one buffer, the lines sorted through their places in it:
    // a million lines sort without a million small allocations.
    struct Place {
        quint32 offset, length, line;
    };
    std::u16string keys;
    keys.reserve(m_lines.size() * 96);
    std::vector<Place> order(m_lines.size());
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const size_t offset = keys.size();
        appendKey(m_lines[i].display, m_lines[i].number, keys);
        order[i] = {quint32(offset), quint32(keys.size() - offset), quint32(i)};
    }
    const char16_t* base = keys.data();
    std::sort(order.begin(), order.end(), [&](const Place& a, const Place& b) {
        const int c = compareKeys({base + a.offset, a.length}, {base + b.offset, b.length});
        if (c != 0)
            return c < 0;
        const Line& la = m_lines[a.line];
        const Line& lb = m_lines[b.line];
        if (const int f = frenchCompare(sortLine(la.display, la.number), sortLine(lb.display, lb.number)); f != 0)
            return f < 0;
        return a.line < b.line;  // stable
    });
    std::vector<Line> sorted(m_lines.size());
    for (size_t k = 0; k < order.size(); ++k)
        std::swap(sorted[k], m_lines[order[k].line]);
    m_lines.swap(sorted);
    m_sorted = true;
}

long long CardList::number(int row) const
{
    if (row < 0 || row >= size())
        return 0;
    return m_lines[size_t(row)].number;
}

int CardList::rowOf(long long n) const
{
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].number == n)
            return int(i);
    return -1;
}

QStringList CardList::displayLines() const
{
    QStringList lines;
    lines.reserve(size());
    for (const Line& l : m_lines)
        lines.append(l.display);
    return lines;
}

int CardList::replace(long long n, const QString& display)
{
    const int row = rowOf(n);
    if (row < 0)
        return -1;
    remove(row);
    const int at = m_sorted ? insertionRow(display, n) : row;
    insert(at, display, n);
    return at;
}

int CardList::insertionRow(const QString& display, long long n) const
{
    const Line line{display, n};
    return int(std::upper_bound(m_lines.begin(), m_lines.end(), line, less) - m_lines.begin());
}

void CardList::insert(int row, QString display, long long n)
{
    m_lines.insert(m_lines.begin() + row, Line{std::move(display), n});
}

void CardList::append(CardList&& more)
{
    if (m_lines.empty()) {
        m_lines = std::move(more.m_lines);
        return;
    }
    m_lines.insert(m_lines.end(), std::make_move_iterator(more.m_lines.begin()),
                   std::make_move_iterator(more.m_lines.end()));
}

}  // namespace tb
