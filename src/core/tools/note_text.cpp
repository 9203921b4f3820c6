#include "core/tools/note_text.h"

#include "core/base/francetext.h"
#include "core/lists/list_page_layout.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace tb {

namespace {
constexpr char16_t kFirstStandIn = 0x2400;  // "␀": the control pictures follow the control codes
constexpr char16_t kDelStandIn = 0x2421;    // "␡"
constexpr int kTwipsPerScreenPixel = 15;
constexpr double kTwipsPerInch = 1440.0;
constexpr double kTopTwips = 10;

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}
}  // namespace

QString loadNote(const QString& path)
{
    QString text = Francetext::ChargeTexte(path);
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text;
}

Status saveNote(const QString& path, const QString& note)
{
    return Francetext::SauveTexte(path, note);
}

QString noteForDisplay(const QString& note)
{
    QString out;
    out.reserve(note.size());
    for (qsizetype i = 0; i < note.size(); ++i) {
        const QChar c = note.at(i);
        if (c == u'\r' && i + 1 < note.size() && note.at(i + 1) == u'\n') {
            out.append(u'\n');
            ++i;
        } else if (c.unicode() < 32 && c != u'\t') {
            out.append(QChar(char16_t(kFirstStandIn + c.unicode())));
        } else if (c.unicode() == 127) {
            out.append(QChar(kDelStandIn));
        } else {
            out.append(c);
        }
    }
    return out;
}

QString noteFromDisplay(const QString& shown)
{
    QString out;
    out.reserve(shown.size() + shown.size() / 16);
    for (const QChar c : shown) {
        const char16_t u = c.unicode();
        if (isLineBreak(c))
            out.append(QLatin1String("\r\n"));
        else if (u >= kFirstStandIn && u < kFirstStandIn + 32)
            out.append(QChar(char16_t(u - kFirstStandIn)));
        else if (u == kDelStandIn)
            out.append(QChar(char16_t(127)));
        else
            out.append(c);
    }
    return out;
}

QString noteSummary(const std::array<QString, 20>& texts)
{
    QStringList lines{texts[1] + u' ' + texts[2] + u' ' + texts[3] + u' ', texts[4], texts[5] + u' ' + texts[6]};
    for (int i = 7; i <= 13; ++i)
        lines.append(texts[i]);
    return lines.join(u'\n') + u'\n';
}

QStringList wrapNoteLines(const QString& shown, const QFont& font, double width, QPaintDevice* device)
{
    const QFontMetricsF metrics(font, device);
    QStringList out;
    QString paragraph;
    auto flush = [&] {
        const QStringList words = paragraph.split(u' ');
        QString line = words.first();
        for (qsizetype i = 1; i < words.size(); ++i) {
            const QString trial = line + u' ' + words.at(i);
            if (metrics.horizontalAdvance(trial) <= width) {
                line = trial;
            } else {
                out.append(line);
                line = words.at(i);
            }
        }
        out.append(line);
        paragraph.clear();
    };
    for (const QChar c : shown) {
        if (isLineBreak(c))
            flush();
        else
            paragraph.append(c);
    }
    flush();
    return out;
}

int printNotePages(QPagedPaintDevice& device, const QString& shown, const NotePrintStyle& style,
                   int boxWidthPixels)
{
    QPainter painter(&device);
    if (!painter.isActive())
        return 0;
    const double boxWidth = boxWidthPixels * kTwipsPerScreenPixel / kTwipsPerInch * device.logicalDpiX();
    const double left = std::max(0.0, (device.width() - boxWidth) / 2);
    const double width = device.width() - 2 * left;
    const double top = kTopTwips / kTwipsPerInch * device.logicalDpiY();
    const double bottom = device.height();

    const QStringList lines = wrapNoteLines(shown, style.font, width, &device);
    // Only a word wider than the page is left to shrink the whole note.
    const QFont font = fittingFont(style.font, lines, width, &device);
    painter.setPen(style.color);
    const int pages = drawPagedLines(device, painter, lines, font, {left, top, bottom});
    painter.end();
    return pages;
}

}  // namespace tb
