#include "core/lists/list_page_layout.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tb {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kLeftTwips = 3000.0;
constexpr double kTopTwips = 1000.0;
constexpr double kBottomMarginTwips = 1000.0;

}  // namespace

Error printStartError()
{
    return Error{kNoErrorNumber, QStringLiteral(" L'impression n'a pas pu commencer !")};
}

QString listDateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QStringList listPrintLines(const QStringList& lines, const QDate& date)
{
    QStringList out{listDateText(date), QString(), QStringLiteral("Liste"), QString()};
    out.reserve(4 + 2 * lines.size());
    for (const QString& line : lines) {
        out.append(line);
        out.append(QString());
    }
    return out;
}

QFont defaultListPrintFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);
    // The real family ("DejaVu Sans Mono"), not an alias: the font dialog then
    // opens on it, bold one click away.
    font.setFamily(QFontInfo(font).family());
    return font;
}

QFont withStyleName(QFont font)
{
    const QString family = QFontInfo(font).family();
    const bool slanted = font.style() != QFont::StyleNormal;
    const int weight = font.weight();
    QString best;
    int bestDistance = 0;
    for (const QString& style : QFontDatabase::styles(family)) {
        // An "Oblique" style is no italic to the font database: its font says so.
        const bool styleSlanted = QFontDatabase::italic(family, style)
                                  || QFontDatabase::font(family, style, 10).style() != QFont::StyleNormal;
        const int distance = std::abs(QFontDatabase::weight(family, style) - weight)
                             + (styleSlanted == slanted ? 0 : 10000);
        if (best.isEmpty() || distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    if (!best.isEmpty()) {
        font.setFamily(family);
        font.setStyleName(best);
    }
    return font;
}

QFont fittingFont(const QFont& chosen, const QStringList& lines, double width, QPaintDevice* device)
{
    double widest = 0;
    const QFontMetricsF metrics(chosen, device);
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    if (widest <= width || widest <= 0)
        return chosen;
    // The largest size, in tenths of a point, whose widest line fits.
    QFont font = chosen;
    double size = chosen.pointSizeF() * width / widest;
    for (;;) {
        size = std::floor(size * 10) / 10;
        if (size <= 1)
            break;
        font.setPointSizeF(size);
        double w = 0;
        const QFontMetricsF m(font, device);
        for (const QString& line : lines)
            w = std::max(w, m.horizontalAdvance(line));
        if (w <= width)
            break;
        size -= 0.1;
    }
    font.setPointSizeF(std::max(size, 1.0));
    return font;
}

int printListPages(QPagedPaintDevice& device, const QStringList& lines, const QDate& date,
                   const ListPrintStyle& style)
{
    return printLinePages(device, listPrintLines(lines, date), style);
}

int printLinePages(QPagedPaintDevice& device, const QStringList& printed, const ListPrintStyle& style)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const PageArea area = pageArea(device, kLeftTwips);

    // Never a cut line: the whole list at the largest size that fits.
    const QFont font = fittingFont(style.font, printed, device.width() - area.left, &device);
    painter.setPen(style.color);
    const int pages = drawPagedLines(device, painter, printed, font, area);
    painter.end();
    return pages;
}

double twipsToX(const QPaintDevice& device, double twips)
{
    return twips * device.logicalDpiX() / kTwipsPerInch;
}

PageArea pageArea(const QPagedPaintDevice& device, double leftTwips)
{
    const double dpiY = device.logicalDpiY();
    return {twipsToX(device, leftTwips), kTopTwips * dpiY / kTwipsPerInch,
            device.height() - kBottomMarginTwips * dpiY / kTwipsPerInch};
}

int drawPagedLines(QPagedPaintDevice& device, QPainter& painter, const QStringList& lines, const QFont& font,
                   const PageArea& area)
{
    PagedLines paged(device, painter, font, area);
    for (const QString& line : lines)
        paged.line(line, area.left);
    return paged.pages();
}

PagedLines::PagedLines(QPagedPaintDevice& device, QPainter& painter, const QFont& font, const PageArea& area)
    : m_device(device), m_painter(painter), m_area(area), m_y(area.top)
{
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    m_lineHeight = metrics.height();
    m_ascent = metrics.ascent();
}

void PagedLines::breakPageIfPast(double y)
{
    if (y > m_area.bottom && m_y > m_area.top) {
        m_device.newPage();
        ++m_pages;
        m_y = m_area.top;
    }
}

void PagedLines::line(const QString& text, double left)
{
    if (!text.isEmpty()) {
        breakPageIfPast(m_y + m_lineHeight);
        m_painter.drawText(QPointF(left, m_y + m_ascent), text);
    }
    m_y += m_lineHeight;
}

void PagedLines::keepTogether(int lines)
{
    breakPageIfPast(m_y + lines * m_lineHeight);
}

}  // namespace tb
