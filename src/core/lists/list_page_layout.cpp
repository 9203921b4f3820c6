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

QString listDateText(const QDate& date)
{
    return date.toString(QStringLiteral("MM-dd-yyyy"));
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
    const double dpiX = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();
    const double left = kLeftTwips * dpiX / kTwipsPerInch;
    const double top = kTopTwips * dpiY / kTwipsPerInch;
    const double bottom = device.height() - kBottomMarginTwips * dpiY / kTwipsPerInch;

    // Never a cut line: the whole list at the largest size that fits.
    const QFont font = fittingFont(style.font, printed, device.width() - left, &device);
    painter.setPen(style.color);
    const int pages = drawPagedLines(device, painter, printed, font, {left, top, bottom});
    painter.end();
    return pages;
}

int drawPagedLines(QPagedPaintDevice& device, QPainter& painter, const QStringList& lines, const QFont& font,
                   const PageArea& area)
{
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const double lineHeight = metrics.height();
    int pages = 1;
    double y = area.top;
    for (const QString& line : lines) {
        // Empty lines only move down, so a full page never leaves a blank one behind.
        if (!line.isEmpty()) {
            if (y + lineHeight > area.bottom && y > area.top) {
                device.newPage();
                ++pages;
                y = area.top;
            }
            painter.drawText(QPointF(area.left, y + metrics.ascent()), line);
        }
        y += lineHeight;
    }
    return pages;
}

}  // namespace tb
