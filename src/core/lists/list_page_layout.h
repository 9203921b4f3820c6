#pragma once
// Lays a list out on printed pages: the date, "Liste", then every line, each
// followed by an empty line, at 3000 twips from the left edge of the printable
// area, from 1000 twips down; a new page when the next line would pass the
// bottom margin.
#include "core/base/error.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

namespace tb {

// The date that heads every print, day first ("07/12/2026"): a French reader
// takes a month-first date for another day.
QString listDateText(const QDate& date);

// The printed lines in order: date, "", "Liste", "", then line, "" for each.
QStringList listPrintLines(const QStringList& lines, const QDate& date);

// What a print that could not begin says (no printer, a PDF file that cannot
// be written).
Error printStartError();

struct ListPrintStyle {
    QFont font;                 // size and weight as chosen; a fixed pitch keeps columns
    QColor color = Qt::black;
};

// The font a printed list starts from: fixed pitch so that the padded
// columns line up, 10 points.
QFont defaultListPrintFont();

// font named by the style of its family closest to its weight and slant
// ("Book" for DejaVu Sans Mono at normal weight), which a font dialog selects;
// without that name it may open on another style (its "Oblique").
QFont withStyleName(QFont font);

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
// A distance of twips (1440 to the inch) across device, in its pixels.
double twipsToX(const class QPaintDevice& device, double twips);
// Lines from leftTwips, from 1000 twips down to 1000 twips above the bottom.
PageArea pageArea(const QPagedPaintDevice& device, double leftTwips);

// Draws lines one at a time down the pages: a new page whenever the next line
// would pass area.bottom. Empty lines only move down, so a full page never
// leaves a blank one behind.
class PagedLines {
public:
    PagedLines(QPagedPaintDevice& device, QPainter& painter, const QFont& font, const PageArea& area);
    // text with its left end at left (device pixels) on the next line.
    void line(const QString& text, double left);
    // A new page now unless the next lines more lines fit on this one.
    void keepTogether(int lines);
    int pages() const { return m_pages; }

private:
    void breakPageIfPast(double y);

    QPagedPaintDevice& m_device;
    QPainter& m_painter;
    PageArea m_area;
    double m_lineHeight;
    double m_ascent;
    double m_y;
    int m_pages = 1;
};

// Draws lines with painter from area.top down, a new page whenever the next
// line would pass area.bottom; returns the pages used.
int drawPagedLines(QPagedPaintDevice& device, QPainter& painter, const QStringList& lines, const QFont& font,
                   const PageArea& area);

}  // namespace tb
