#pragma once
// A visible list of display lines and, in the same order, the card number of
// each line: line k of the display belongs to the card at entry k.
#include <QString>
#include <QStringList>
#include <vector>

namespace tb {

// display + " Fiche n°          " + number with its leading blank.
QString sortLine(const QString& display, long long number);
// The last ten characters of a sort line: the number right-aligned in ten.
QString numberEntry(const QString& sortLine);

class ParallelLists {
public:
    // Appends a line (unsorted until sort() is called).
    void add(const QString& display, long long number);
    // Orders the lines by their sort lines in the French case-insensitive
    // order (ties fall to the number's text: card 12 before card 2).
    void sort();

    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    QStringList displayLines() const;   // List1
    QStringList sortLines() const;      // List3
    QStringList numberEntries() const;  // List2
    // Card number of line row; 0 when row is outside the list.
    long long numberAt(int row) const;
    const QString& displayAt(int row) const { return m_entries[size_t(row)].display; }

private:
    struct Entry {
        QString display;
        QString sortLine;
        long long number = 0;
    };
    template <typename Column>
    QStringList column(Column of) const;

    std::vector<Entry> m_entries;
};

}  // namespace tb
