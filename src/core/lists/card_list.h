#pragma once
// A list of cards as the windows show it: display lines with the card number
// of each, sorted once by precomputed keys. Line k belongs to card number(k).
// The lines are kept as code-page bytes in one buffer and decoded when shown:
// a million lines cost their bytes, not a million strings.
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace tb {

// display + " Fiche n°          " + number with its leading blank: what the
// lists sort on (so equal lines fall to the number's text: 12 before 2).
QString sortLine(const QString& display, long long number);

class CardList {
public:
    // Appends a line (unsorted until sort() is called).
    void add(const QString& display, long long number);
    // The same from the line's code-page bytes.
    void addBytes(QByteArrayView display, long long number);
    // French case-insensitive order of the sort lines.
    void sort();
    // The lines were added in their sorted order.
    void markSorted() { m_sorted = true; }
    bool sorted() const { return m_sorted; }
    // Lines that all sort after these ones.
    void append(CardList&& more);

    int size() const { return int(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }
    QString display(int row) const;
    // Card number of line row; 0 when row is outside the list.
    long long number(int row) const;
    // First row of card n, or -1.
    int rowOf(long long n) const;
    QStringList displayLines() const;

    // Card n now shows display: its line moves to its sorted place (the list
    // must be sorted). Returns the new row, or -1 when n is not in the list.
    int replace(long long n, const QString& display);
    // Where a line for card n showing display goes in the sorted list.
    int insertionRow(const QString& display, long long n) const;
    void insert(int row, const QString& display, long long n);
    void remove(int row);

private:
    struct Line {
        quint32 offset = 0;  // into m_bytes
        quint32 size = 0;    // with kWide set: UTF-8 (a text the code page lacks)
        long long number = 0;
    };
    static constexpr quint32 kWide = 0x80000000u;
    Line store(const QString& display, long long number);
    QString text(const Line& line) const;

    std::vector<Line> m_lines;
    std::string m_bytes;
    size_t m_stale = 0;  // bytes no line points to any more
    bool m_sorted = false;
};

}  // namespace tb
