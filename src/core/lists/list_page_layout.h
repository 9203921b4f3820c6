#pragma once
// Lays a list out on printed pages: the date, "Liste", then every line, each
// followed by an empty line, at 3000 twips from the left edge of the printable
// area, from 1000 twips down; a new page when the next line would pass the
// bottom margin.
#include <QColor>
#include <QDate>
#include <QFont>
#include <QStringList>

class QPagedPaintDevice;

namespace tb {

// "MM-dd-yyyy", as the printed list heads its first page (03-21-2002).
QString listDateText(const QDate& date);

// The printed lines in order: date, "", "Liste", "", then line, "" for each.
QStringList listPrintLines(const QStringList& lines, const QDate& date);

struct ListPrintStyle {
    QFont font;                 // size and weight as chosen; a fixed pitch keeps columns
    QColor color = Qt::black;
};

// The font a printed list starts from: fixed pitch so that the padded
// columns line up, 10 points.
QFont defaultListPrintFont();

// chosen, or a smaller size of it at which every line is at most width wide
// on device (the chosen size is the upper bound).
QFont fittingFont(const QFont& chosen, const QStringList& lines, double width, class QPaintDevice* device);

// Prints onto device (a QPrinter or a QPdfWriter) and returns the number of
// pages used. The painter is begun and ended here, which ends the document.
int printListPages(QPagedPaintDevice& device, const QStringList& lines, const QDate& date,
                   const ListPrintStyle& style);
// The same for lines already laid out (headings and empty lines included).
int printLinePages(QPagedPaintDevice& device, const QStringList& printed, const ListPrintStyle& style);

// Where lines go on each page, in device pixels.
struct PageArea {
    double left, top, bottom;
};
// Draws lines with painter from area.top down, a new page whenever the next
// line would pass area.bottom; returns the pages used.
int drawPagedLines(QPagedPaintDevice& device, class QPainter& painter, const QStringList& lines, const QFont& font,
                   const PageArea& area);

}  // namespace tb
