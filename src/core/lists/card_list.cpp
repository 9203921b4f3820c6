#include "core/lists/card_list.h"

#include "core/base/codepage.h"
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

bool less(const QString& a, long long na, const QString& b, long long nb)
{
    std::u16string ka, kb;
    appendKey(a, na, ka);
    appendKey(b, nb, kb);
    if (const int c = compareKeys(ka, kb); c != 0)
        return c < 0;
    // Equal cheap keys (case and accents alone differ): the collator decides.
    return frenchCompare(sortLine(a, na), sortLine(b, nb)) < 0;
}

}  // namespace

void CardList::add(const QString& display, long long number)
{
    m_lines.push_back(store(display, number));
    m_sorted = false;
}

void CardList::addBytes(QByteArrayView display, long long number)
{
    m_lines.push_back({quint32(m_bytes.size()), quint32(display.size()), number});
    m_bytes.append(display.data(), size_t(display.size()));
    m_sorted = false;
}

CardList::Line CardList::store(const QString& display, long long number)
{
    // A line the code page cannot hold (a search's added text) keeps every
    // character as UTF-8.
    const bool fits = fitsCp1252(display);
    const QByteArray bytes = fits ? toCp1252(display) : display.toUtf8();
    Line line{quint32(m_bytes.size()), quint32(bytes.size()) | (fits ? 0 : kWide), number};
    m_bytes.append(bytes.constData(), size_t(bytes.size()));
    return line;
}

QString CardList::text(const Line& line) const
{
    const char* at = m_bytes.data() + line.offset;
    if (line.size & kWide)
        return QString::fromUtf8(at, qsizetype(line.size & ~kWide));
    return fromCp1252(QByteArrayView(at, qsizetype(line.size)));
}

QString CardList::display(int row) const
{
    return text(m_lines[size_t(row)]);
}

void CardList::remove(int row)
{
    m_stale += m_lines[size_t(row)].size & ~kWide;
    m_lines.erase(m_lines.begin() + row);
    // Lines changed one by one leave their old bytes behind: they go once
    // they fill half the buffer.
    if (m_stale <= m_bytes.size() / 2)
        return;
    std::string kept;
    kept.reserve(m_bytes.size() - m_stale);
    for (Line& l : m_lines) {
        const quint32 offset = quint32(kept.size());
        kept.append(m_bytes, l.offset, l.size & ~kWide);
        l.offset = offset;
    }
    m_bytes.swap(kept);
    m_stale = 0;
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
    std::vector<QString> texts(m_lines.size());
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const size_t offset = keys.size();
        texts[i] = text(m_lines[i]);
        appendKey(texts[i], m_lines[i].number, keys);
        order[i] = {quint32(offset), quint32(keys.size() - offset), quint32(i)};
    }
    const char16_t* base = keys.data();
    std::sort(order.begin(), order.end(), [&](const Place& a, const Place& b) {
        const int c = compareKeys({base + a.offset, a.length}, {base + b.offset, b.length});
        if (c != 0)
            return c < 0;
        const long long na = m_lines[a.line].number, nb = m_lines[b.line].number;
        if (const int f = frenchCompare(sortLine(texts[a.line], na), sortLine(texts[b.line], nb)); f != 0)
            return f < 0;
        return a.line < b.line;  // stable
    });
    std::vector<Line> sorted(m_lines.size());
    for (size_t k = 0; k < order.size(); ++k)
        sorted[k] = m_lines[order[k].line];
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
        lines.append(text(l));
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
    const auto after = [this](const QString& value, long long number, const Line& line) {
        return less(value, number, text(line), line.number);
    };
    int low = 0, high = size();  // the first line the new one sorts before
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (after(display, n, m_lines[size_t(mid)]))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

void CardList::insert(int row, const QString& display, long long n)
{
    m_lines.insert(m_lines.begin() + row, store(display, n));
}

void CardList::append(CardList&& more)
{
    if (m_lines.empty()) {
        m_lines = std::move(more.m_lines);
        m_bytes = std::move(more.m_bytes);
        m_stale = more.m_stale;
        return;
    }
    const quint32 shift = quint32(m_bytes.size());
    m_bytes.append(more.m_bytes);
    m_stale += more.m_stale;
    m_lines.reserve(m_lines.size() + more.m_lines.size());
    for (Line l : more.m_lines) {
        l.offset += shift;
        m_lines.push_back(l);
    }
}

}  // namespace tb
