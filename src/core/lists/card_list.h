#pragma once
// A list of cards as the windows show it: display lines with the card number
// of each, sorted once by precomputed keys. Line k belongs to card number(k).
#include <QString>
#include <QStringList>
#include <vector>

namespace tb {

// display + " Fiche n°          " + number with its leading blank: what the
// lists sort on (so equal lines fall to the number's text: 12 before 2).
QString sortLine(const QString& display, long long number);

class CardList {
public:
    // Appends a line (unsorted until sort() is called).
    void add(QString display, long long number);
    // French case-insensitive order of the sort lines.
    void sort();
    // The lines were added in their sorted order.
    void markSorted() { m_sorted = true; }
    bool sorted() const { return m_sorted; }
    // Lines that all sort after these ones.
    void append(CardList&& more);

    int size() const { return int(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }
    const QString& display(int row) const { return m_lines[size_t(row)].display; }
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
    void insert(int row, QString display, long long n);
    void remove(int row) { m_lines.erase(m_lines.begin() + row); }

private:
    struct Line {
        QString display;
        long long number = 0;
    };
    static bool less(const Line& a, const Line& b);
    std::vector<Line> m_lines;
    bool m_sorted = false;
};

}  // namespace tb
