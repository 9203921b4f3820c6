#include "core/cards/card_print.h"

#include "core/base/number_text.h"
#include "core/cards/card_fields.h"
#include "core/db/database.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace tb {
namespace {

constexpr double kHeadingTwips = 3000.0;
constexpr double kCaptionTwips = 1000.0;
constexpr double kValueTwips = 4000.0;
constexpr CardField kFirstPrintedField = kFieldCivility;

// Blanks at the end of a stored field print nothing.
QString printedValue(const QString& field)
{
    qsizetype end = field.size();
    while (end > 0 && field.at(end - 1) == u' ')
        --end;
    return field.left(end);
}

QString cardHeading(long long k)
{
    return QStringLiteral("Fiche n° ") + numberText(double(k));
}

// The widest text of each column at the chosen font, measured once.
struct Widest {
    QString heading, caption, value;
};

Result<Widest> widestTexts(const CardPrint& print, const QStringList& headings, const QFontMetricsF& metrics)
{
    Widest w;
    double heading = -1, caption = -1, value = -1;
    auto keep = [&](const QString& text, double& width, QString& widest) {
        const double advance = metrics.horizontalAdvance(text);
        if (advance > width) {
            width = advance;
            widest = text;
        }
    };
    for (const QString& text : headings)
        keep(text, heading, w.heading);
    if (print.numbered && print.count > 0)
        keep(cardHeading(print.count), heading, w.heading);
    for (const QString& text : print.captions)
        keep(text, caption, w.caption);
    for (long long k = 1; k <= print.count; ++k) {
        const Result<CardRecord> card = print.card(k);
        if (!card)
            return card.error();
        for (CardField field = kFirstPrintedField; field <= kFieldLast; ++field)
            keep(printedValue(card->field(field)), value, w.value);
    }
    return w;
}

}  // namespace

QStringList printedCaptions(const QStringList& databaseCaptions)
{
    QStringList captions = fixedFieldCaptions();
    for (int i = 0; i < 10; ++i)
        captions.append(databaseCaptions.value(i));
    return captions;
}

CardPrint oneCardPrint(long long n, const CardRecord& card, const QStringList& databaseCaptions)
{
    CardPrint print;
    print.title = QStringLiteral("Fiche ") + plainNumber(n);
    print.captions = printedCaptions(databaseCaptions);
    print.count = 1;
    print.card = [card](long long) { return Result<CardRecord>(card); };
    return print;
}

CardPrint allCardsPrint(const Database& db)
{
    CardPrint print;
    print.title = QStringLiteral("Fichier complet");
    print.captions = printedCaptions(db.captions());
    print.count = db.count();
    print.numbered = true;
    print.card = [&db](long long k) { return db.card(k); };
    return print;
}

Result<int> printCardPages(QPagedPaintDevice& device, const CardPrint& print, const QDate& date,
                           const ListPrintStyle& style)
{
    const QStringList headings{listDateText(date), print.title};
    const Result<Widest> widest = widestTexts(print, headings, QFontMetricsF(style.font, &device));
    if (!widest)
        return widest.error();

    QPainter painter;
    if (!painter.begin(&device))
        return printStartError();
    const PageArea area = pageArea(device, kCaptionTwips);
    const double headingX = twipsToX(device, kHeadingTwips);
    const double captionX = area.left;
    const double valueX = twipsToX(device, kValueTwips);

    // Never a cut line: the size at which the widest text of every column fits.
    QFont font = style.font;
    const std::pair<const QString*, double> columns[] = {
        {&widest->heading, headingX}, {&widest->caption, captionX}, {&widest->value, valueX}};
    for (const auto& [text, left] : columns) {
        const QFont fitted = fittingFont(style.font, {*text}, device.width() - left, &device);
        if (fitted.pointSizeF() < font.pointSizeF())
            font = fitted;
    }
    painter.setPen(style.color);
    PagedLines paged(device, painter, font, area);
    paged.line(headings[0], headingX);
    paged.line(QString(), headingX);
    paged.line(print.title, headingX);
    paged.line(QString(), headingX);
    Status status;
    for (long long k = 1; k <= print.count && status; ++k) {
        const Result<CardRecord> card = print.card(k);
        if (!card) {
            status = card.error();
            break;
        }
        if (print.numbered) {
            // The heading stays with the card's first field.
            paged.keepTogether(3);
            paged.line(cardHeading(k), headingX);
        }
        for (CardField field = kFirstPrintedField; field <= kFieldLast; ++field) {
            paged.keepTogether(2);
            paged.line(print.captions.value(field - kFirstPrintedField), captionX);
            paged.line(printedValue(card->field(field)), valueX);
            paged.line(QString(), valueX);
        }
    }
    painter.end();
    if (!status)
        return status.error();
    return paged.pages();
}

}  // namespace tb
