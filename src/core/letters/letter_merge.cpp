#include "core/letters/letter_merge.h"

#include "core/base/masks.h"
#include "core/base/number_text.h"
#include "core/base/numeric.h"
#include "core/base/safe_write.h"
#include "core/cards/card_record.h"
#include "core/db/database.h"
#include "core/mail/postal_address.h"

#include <QBuffer>
#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace tb {

namespace {

// The nine fields of every card, in the order of letterFieldNames.
const QStringList kCardFieldNames{QStringLiteral("Civilité"),     QStringLiteral("Prénoms"),
                                  QStringLiteral("Nom"),          QStringLiteral("Rue"),
                                  QStringLiteral("Code postal"),  QStringLiteral("Ville"),
                                  QStringLiteral("Date du jour"), QStringLiteral("Reste dû"),
                                  QStringLiteral("Dernier versement")};

// Page geometry, in millimetres.
constexpr double kAddressLeft = 110;
constexpr double kAddressTop = 50;
constexpr double kTextLeft = 20;
constexpr double kTextRight = 20;
constexpr double kTextTop = 20;        // from the second page on
constexpr double kFirstTextTop = 100;  // under the envelope's window
constexpr double kTextBottom = 20;
constexpr double kFontPoints = 11;

// "1234,50 €" in French, "0,50 €" rather than ",50 €".
QString euros(double amount)
{
    QString text = formatMask(amount, QStringLiteral("###,###,###,###,###.00"), QLocale(QLocale::French));
    if (text.startsWith(u',') || text.startsWith(QStringLiteral("-,")))
        text.insert(text.startsWith(u'-') ? 1 : 0, u'0');
    return text + QStringLiteral(" €");
}

QString unescaped(QString html)
{
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    html.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    html.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    html.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    return html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// An editor may write the guillemets as entities.
QString plainGuillemets(QString html)
{
    html.replace(QStringLiteral("&laquo;"), QStringLiteral("«")).replace(QStringLiteral("&#171;"), QStringLiteral("«"));
    return html.replace(QStringLiteral("&raquo;"), QStringLiteral("»")).replace(QStringLiteral("&#187;"), QStringLiteral("»"));
}

double pixels(double mm, int dpi)
{
    return mm * dpi / 25.4;
}

// The custom fields a letter can name: each caption with its field.
std::vector<std::pair<QString, CardField>> customFields(const QStringList& captions)
{
    std::vector<std::pair<QString, CardField>> out;
    QStringList taken = kCardFieldNames;
    for (int i = 0; i < captions.size() && i < 10; ++i) {
        const QString name = captions[i].simplified();
        if (name.isEmpty() || name.contains(u'«') || name.contains(u'»') || taken.contains(name))
            continue;
        taken.append(name);
        out.emplace_back(name, CardField(kFieldFirstCustom + i));
    }
    return out;
}

}  // namespace

QStringList letterFieldNames(const QStringList& captions)
{
    QStringList names = kCardFieldNames;
    for (const auto& field : customFields(captions))
        names.append(field.first);
    return names;
}

QString letterFieldMark(const QString& name)
{
    return u'«' + name + u'»';
}

QStringList letterFieldsUsed(const QString& html)
{
    static const QRegularExpression mark(QStringLiteral("«([^«»<>]{1,80})»"));
    QStringList used;
    for (const QRegularExpressionMatch& m : mark.globalMatch(plainGuillemets(html))) {
        const QString name = unescaped(m.captured(1)).simplified();
        if (!used.contains(name))
            used.append(name);
    }
    return used;
}

QStringList letterFieldValues(const CardRecord& card, const QStringList& captions,
                              const std::optional<LastPayment>& last, const QDate& today)
{
    const auto text = [&](CardField k) { return card.field(k).simplified(); };
    const QString remaining = text(kFieldRemaining);
    QStringList values{text(kFieldCivility),
                       text(kFieldFirstNames),
                       text(kFieldSurname),
                       text(kFieldStreet),
                       text(kFieldPostalCode),
                       text(kFieldCity),
                       QLocale(QLocale::French).toString(today, QStringLiteral("d MMMM yyyy")),
                       remaining.isEmpty() ? QString() : euros(numericValue(remaining)),
                       // A card without payment says so: the letter still reads.
                       last ? euros(last->amount) + QStringLiteral(" le ") + last->date : QStringLiteral("aucun")};
    for (const auto& field : customFields(captions))
        values.append(text(field.second));
    return values;
}

Result<LetterMerge> mergeLetter(const Database& db, const QString& html, const QList<long long>& cards,
                                const QDate& today)
{
    LetterMerge out;
    const QString source = plainGuillemets(html);
    const QStringList captions = db.captions();
    const QStringList names = letterFieldNames(captions);
    const QStringList used = letterFieldsUsed(source);
    for (const QString& name : used)
        if (!names.contains(name))
            out.unknown.append(name);
    // The address block needs these whatever the text holds.
    QStringList checked{QStringLiteral("Nom"), QStringLiteral("Rue"), QStringLiteral("Code postal"),
                        QStringLiteral("Ville")};
    for (const QString& name : used)
        if (!checked.contains(name) && names.contains(name))
            checked.append(name);
    const bool needsPayment = used.contains(kCardFieldNames.last());
    for (long long n : cards) {
        Result<CardRecord> card = db.card(n);
        if (!card)
            return card.error();
        std::optional<LastPayment> last;
        if (needsPayment) {
            Result<std::optional<LastPayment>> read = cardLastPayment(db, n, today.year());
            if (!read)
                return read.error();
            last = *read;
        }
        const QStringList values = letterFieldValues(*card, captions, last, today);
        QString merged = source;
        for (const QString& name : checked) {
            const qsizetype k = names.indexOf(name);
            if (values[k].isEmpty())
                out.gaps.push_back({n, (card->field(kFieldSurname).simplified() + u' '
                                        + card->field(kFieldFirstNames).simplified()).trimmed(), name});
            merged.replace(letterFieldMark(name.toHtmlEscaped()), values[k].toHtmlEscaped());
            merged.replace(letterFieldMark(name), values[k].toHtmlEscaped());
        }
        const PostalAddress address = postalAddressLines(*card);
        if (!address.cut.isEmpty())
            out.cutAddresses += addressReport(n, address);
        out.letters.push_back({n, address.lines, merged});
    }
    return out;
}

QStringList letterReport(const LetterMerge& merge)
{
    QStringList lines;
    for (const LetterGap& gap : merge.gaps)
        lines.append(QStringLiteral("Fiche n° ") + plainNumber(gap.number) + QStringLiteral(" (") + gap.card
                     + QStringLiteral(") : « ") + gap.field + QStringLiteral(" » est vide."));
    lines += merge.cutAddresses;
    for (const QString& name : merge.unknown)
        lines.append(QStringLiteral("« ") + name + QStringLiteral(" » n'est pas un champ : laissé tel quel."));
    return lines;
}

Status paintLetters(QPagedPaintDevice& device, const LetterMerge& merge)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device))
        return Error{kErrorPathAccess, QStringLiteral("impression impossible : le document ne peut pas être écrit")};
    const int dpi = device.logicalDpiY();
    // Painting starts at the printable area unless the device paints the full page.
    const QPageLayout layout = device.pageLayout();
    const QPointF origin = layout.mode() == QPageLayout::FullPageMode ? QPointF()
                                                                      : QPointF(layout.paintRectPixels(dpi).topLeft());
    const QSizeF page = layout.fullRectPixels(dpi).size();
    QFont font = painter.font();
    font.setPointSizeF(kFontPoints);
    const double width = page.width() - pixels(kTextLeft + kTextRight, dpi);
    const double height = page.height() - pixels(kTextTop + kTextBottom, dpi);
    bool first = true;
    for (const MergedLetter& letter : merge.letters) {
        if (!std::exchange(first, false))
            device.newPage();
        painter.setFont(font);
        const QFontMetricsF metrics(font, &device);
        double y = pixels(kAddressTop, dpi) - origin.y() + metrics.ascent();
        for (const QString& line : letter.address) {
            painter.drawText(QPointF(pixels(kAddressLeft, dpi) - origin.x(), y), line);
            y += metrics.lineSpacing();
        }

        QTextDocument text;
        text.documentLayout()->setPaintDevice(&device);
        text.setDefaultFont(font);
        text.setDocumentMargin(0);
        text.setHtml(letter.html);
        // The first page's text starts under the address.
        QTextCursor start(&text);
        // The first paragraph keeps its own format (a date on the right).
        const QTextBlockFormat firstFormat = start.blockFormat();
        QTextFrameFormat room;
        room.setHeight(QTextLength(QTextLength::FixedLength, pixels(kFirstTextTop - kTextTop, dpi)));
        room.setMargin(0);
        room.setPadding(0);
        room.setBorder(0);
        const QTextFrame* frame = start.insertFrame(room);
        QTextCursor after(&text);
        after.setPosition(frame->lastPosition() + 1);
        after.setBlockFormat(firstFormat);
        text.setPageSize(QSizeF(width, height));
        for (int p = 0; p < text.pageCount(); ++p) {
            if (p > 0)
                device.newPage();
            painter.save();
            painter.translate(pixels(kTextLeft, dpi) - origin.x(), pixels(kTextTop, dpi) - origin.y() - p * height);
            const QRectF shown(0, p * height, width, height);
            painter.setClipRect(shown);
            text.drawContents(&painter, shown);
            painter.restore();
        }
    }
    if (!painter.end())
        return Error{kErrorPathAccess, QStringLiteral("impression inachevée")};
    return {};
}

Status writeLettersPdf(const QString& path, const LetterMerge& merge)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(300);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setCreator(QStringLiteral("Tabulon"));
        if (Status s = paintLetters(pdf, merge); !s)
            return s;
    }
    return writeFileAtomic(path, buffer.data());
}

}  // namespace tb
