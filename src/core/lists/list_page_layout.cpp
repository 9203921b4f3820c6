#include "core/lists/list_page_layout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

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
    return font;
}

int printListPages(QPagedPaintDevice& device, const QStringList& lines, const QDate& date,
                   const ListPrintStyle& style)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const double dpiX = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();
    const double left = kLeftTwips * dpiX / kTwipsPerInch;
    const double top = kTopTwips * dpiY / kTwipsPerInch;
    const double bottom = device.height() - kBottomMarginTwips * dpiY / kTwipsPerInch;

    painter.setFont(style.font);
    painter.setPen(style.color);
    const QFontMetricsF metrics(style.font, &device);
    const double lineHeight = metrics.height();

    int pages = 1;
    double y = top;
    for (const QString& line : listPrintLines(lines, date)) {
        // Empty lines only move down, so a full page never leaves a blank one behind.
        if (!line.isEmpty()) {
            if (y + lineHeight > bottom && y > top) {
                device.newPage();
                ++pages;
                y = top;
            }
            painter.drawText(QPointF(left, y + metrics.ascent()), line);
        }
        y += lineHeight;
    }
    painter.end();
    return pages;
}

}  // namespace tb
