#include "core/lists/card_list.h"

#include "core/base/collation.h"
#include "core/base/number_text.h"

#include <algorithm>

namespace tb {

QString sortLine(const QString& display, long long number)
{
    return display + QStringLiteral(" Fiche n°          ") + numberText(double(number));
}

void CardList::add(QString display, long long number)
{
    m_lines.push_back({std::move(display), QString(), number});
    m_sorted = false;
}

bool CardList::less(const Line& a, const Line& b)
{
    const int c = QString::compare(a.key, b.key);
    if (c != 0)
        return c < 0;
    // Equal cheap keys (case and accents alone differ): the collator decides.
    return frenchCompare(sortLine(a.display, a.number), sortLine(b.display, b.number)) < 0;
}

void CardList::sort()
{
    for (Line& l : m_lines)
        l.key = frenchPrimaryKey(sortLine(l.display, l.number));
    std::stable_sort(m_lines.begin(), m_lines.end(), less);
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
    Line line{display, frenchPrimaryKey(sortLine(display, n)), n};
    m_lines.erase(m_lines.begin() + row);
    const auto at = m_sorted ? std::upper_bound(m_lines.begin(), m_lines.end(), line, less) : m_lines.begin() + row;
    return int(m_lines.insert(at, std::move(line)) - m_lines.begin());
}

}  // namespace tb
