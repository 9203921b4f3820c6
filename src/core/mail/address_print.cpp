#include "core/mail/address_print.h"

#include "core/db/database.h"
#include "core/base/safe_write.h"
#include "core/lists/list_page_layout.h"

#include <QBuffer>
#include <QPdfWriter>

#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tb {

namespace {

// Avery's grids stand centred on the sheet, with no gap down the columns.
LabelSheet centred(const char* id, int columns, int rows, double width, double height, double across)
{
    LabelSheet s{QString::fromLatin1(id), QStringLiteral("Avery ") + QString::fromLatin1(id), columns, rows, width,
                 height, 0, 0, across, height};
    s.left = std::round((kA4Millimetres.width() - (columns - 1) * across - width) / 2 * 1000) / 1000;
    s.top = std::round((kA4Millimetres.height() - rows * height) / 2 * 1000) / 1000;
    s.name += QStringLiteral(" (%1 × %2, %3 × %4 mm)")
                  .arg(columns)
                  .arg(rows)
                  .arg(QLocale(QLocale::French).toString(width))
                  .arg(QLocale(QLocale::French).toString(height));
    return s;
}

LabelSheet edgeToEdge(const char* id, int columns, int rows, double width, double height)
{
    const QLocale fr(QLocale::French);
    return LabelSheet{QString::fromLatin1(id),
                      QStringLiteral("%1 × %2 de %3 × %4 mm, sans marges").arg(columns).arg(rows).arg(fr.toString(width), fr.toString(height)),
                      columns, rows, width, height, 0, 0, width, height};
}

constexpr double kTextInsetAcross = 4;  // mm: clear of the label's cut
constexpr double kTextInsetDown = 2;
constexpr double kBlockPoints = 10;
constexpr double kEnvelopePoints = 11;
constexpr double kSenderPoints = 9;
constexpr double kEnvelopeEdge = 10;  // mm left free on an envelope's sides

QString labelsText(const QList<int>& numbers)
{
    QStringList texts;
    for (int k : numbers)
        texts.append(QString::number(k));
    return texts.join(QStringLiteral(", "));
}

QString marginsText(const QMarginsF& m)
{
    const QLocale fr(QLocale::French);
    const auto mm = [&](double v) { return fr.toString(v, 'f', 1) + QStringLiteral(" mm"); };
    return QStringLiteral("gauche ") + mm(m.left()) + QStringLiteral(", haut ") + mm(m.top()) + QStringLiteral(", droite ")
           + mm(m.right()) + QStringLiteral(", bas ") + mm(m.bottom());
}

// True when area (mm) reaches into the band the printer cannot print on paper.
bool cutByEdge(const QRectF& area, const QSizeF& paper, const QMarginsF& unprintable)
{
    return area.left() < unprintable.left() || area.top() < unprintable.top()
           || area.right() > paper.width() - unprintable.right() || area.bottom() > paper.height() - unprintable.bottom();
}

// Draws lines in area (device pixels) at the largest size up to points at
// which they all fit; centred down the area when asked, from its top otherwise.
class BlockPainter {
public:
    BlockPainter(QPainter& painter, QPagedPaintDevice& device) : m_painter(painter), m_device(device)
    {
        m_font = QFont(QStringLiteral("DejaVu Sans"));
    }
    double pixels(double mm) const { return mm * m_device.logicalDpiX() / 25.4; }
    QRectF pixels(const QRectF& mm) const
    {
        return {pixels(mm.x()), mm.y() * m_device.logicalDpiY() / 25.4, pixels(mm.width()),
                mm.height() * m_device.logicalDpiY() / 25.4};
    }
    void draw(const QStringList& lines, const QRectF& areaMm, double points, bool centredDown)
    {
        if (lines.isEmpty())
            return;
        const QRectF area = pixels(areaMm);
        // Quarter points: few sizes, so few fonts in the file.
        double size = std::floor(points * std::min(1.0, fitScale(lines, area, points)) * 4) / 4;
        while (size > 1 && fitScale(lines, area, size) < 1)
            size -= 0.25;
        const QFontMetricsF& fm = metrics(size);
        m_painter.setFont(fontOf(size));
        const double height = fm.lineSpacing() * lines.size();
        double y = area.top() + (centredDown ? (area.height() - height) / 2 : 0) + fm.ascent();
        for (const QString& line : lines) {
            m_painter.drawText(QPointF(area.left(), y), line);
            y += fm.lineSpacing();
        }
    }

private:
    double fitScale(const QStringList& lines, const QRectF& area, double size)
    {
        const QFontMetricsF& fm = metrics(size);
        double widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, fm.horizontalAdvance(line));
        const double height = fm.lineSpacing() * lines.size();
        return std::min(widest > 0 ? area.width() / widest : 1.0, area.height() / height);
    }
    QFont fontOf(double size) const
    {
        QFont f = m_font;
        f.setPointSizeF(size);
        return f;
    }
    const QFontMetricsF& metrics(double size)
    {
        auto it = m_metrics.find(size);
        if (it == m_metrics.end())
            it = m_metrics.insert(size, QFontMetricsF(fontOf(size), &m_device));
        return *it;
    }

    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    QFont m_font;
    QHash<double, QFontMetricsF> m_metrics;
};

QRectF envelopeAddressArea(const Envelope& e)
{
    const QPointF corner = e.addressCorner();
    return {corner, QPointF(e.width - kEnvelopeEdge, e.height - kEnvelopeEdge)};
}

QRectF envelopeSenderArea(const Envelope& e)
{
    return {QPointF(kEnvelopeEdge, kEnvelopeEdge), QPointF(e.addressCorner().x() - kEnvelopeEdge, e.addressCorner().y() - 5)};
}

void setFullPage(QPagedPaintDevice& device, const QPageSize& size, QPageLayout::Orientation orientation)
{
    QPageLayout layout(size, orientation, QMarginsF(), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(layout);
}

}  // namespace

QRectF LabelSheet::label(int index) const
{
    const int column = index % columns, row = index / columns;
    return {left + column * across, top + row * down, width, height};
}

const std::vector<LabelSheet>& labelSheets()
{
    static const std::vector<LabelSheet> sheets = {
        centred("L7160", 3, 7, 63.5, 38.1, 66.04),   centred("L7161", 3, 6, 63.5, 46.6, 66.04),
        centred("L7162", 2, 8, 99.1, 33.9, 101.6),   centred("L7163", 2, 7, 99.1, 38.1, 101.6),
        edgeToEdge("70x37", 3, 8, 70, 37),           edgeToEdge("70x42.3", 3, 7, 70, 42.3),
    };
    return sheets;
}

namespace {

// The entry of all whose key is name, in any case.
template <class T>
const T* named(const std::vector<T>& all, QString T::*key, const QString& name)
{
    const auto it = std::find_if(all.begin(), all.end(),
                                 [&](const T& t) { return (t.*key).compare(name, Qt::CaseInsensitive) == 0; });
    return it == all.end() ? nullptr : &*it;
}

}  // namespace

const LabelSheet* labelSheetById(const QString& id)
{
    return named(labelSheets(), &LabelSheet::id, id);
}

LabelSheet customLabelSheet(int columns, int rows, double width, double height, double left, double top,
                            double gapAcross, double gapDown)
{
    return LabelSheet{QStringLiteral("perso"), QStringLiteral("Personnalisé"), columns, rows, width, height, left,
                      top, width + gapAcross, height + gapDown};
}

QString labelSheetProblem(const LabelSheet& s)
{
    if (s.columns < 1 || s.rows < 1 || s.width <= 0 || s.height <= 0)
        return QStringLiteral(" Il faut au moins une colonne, une rangée et des étiquettes de taille non nulle !");
    if (s.left < 0 || s.top < 0 || s.across < s.width || s.down < s.height)
        return QStringLiteral(" Les marges et les intervalles ne peuvent pas être négatifs !");
    const QRectF last = s.label(s.perSheet() - 1);
    constexpr double kSlack = 0.01;  // rounding of the given sizes
    if (last.right() > kA4Millimetres.width() + kSlack || last.bottom() > kA4Millimetres.height() + kSlack)
        return QStringLiteral(" Ces étiquettes dépassent la feuille A4 (210 × 297 mm) !");
    return {};
}

QRectF labelTextArea(const QRectF& label)
{
    return label.adjusted(kTextInsetAcross, kTextInsetDown, -kTextInsetAcross, -kTextInsetDown);
}

const std::vector<Envelope>& envelopes()
{
    static const std::vector<Envelope> sizes = {
        {QStringLiteral("DL"), 220, 110}, {QStringLiteral("C5"), 229, 162}, {QStringLiteral("C6"), 162, 114}};
    return sizes;
}

Result<AddressBlocks> addressBlocks(const Database& db, const QList<long long>& cards, bool includeArchived)
{
    std::vector<CardRecord> records(size_t(cards.size()));
    std::vector<bool> found(size_t(cards.size()), false);
    // A few cards are read one by one, many in one pass over the records.
    if (cards.size() < db.count() / 64) {
        for (qsizetype i = 0; i < cards.size(); ++i) {
            if (cards[i] < 1 || cards[i] > db.count())
                continue;
            Result<CardRecord> card = db.card(cards[i]);
            if (!card)
                return card.error();
            records[size_t(i)] = std::move(card).value();
            found[size_t(i)] = true;
        }
    } else {
        QHash<long long, qsizetype> where;
        where.reserve(cards.size());
        for (qsizetype i = 0; i < cards.size(); ++i)
            where.insert(cards[i], i);
        const Status read = db.store().forEachRaw(db.count(), [&](long long n, QByteArrayView bytes) {
            const auto it = where.constFind(n);
            if (it == where.cend())
                return;
            records[size_t(*it)] = CardRecord::fromBytes(bytes);
            found[size_t(*it)] = true;
        });
        if (!read)
            return read.error();
    }
    AddressBlocks out;
    out.blocks.reserve(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        if (!found[i])
            continue;
        if (!includeArchived && !records[i].isActive()) {
            ++out.archived;
            continue;
        }
        PostalAddress address = postalAddressLines(records[i]);
        out.report += addressReport(cards[qsizetype(i)], address);
        if (!address.isEmpty())
            out.blocks.push_back(std::move(address.lines));
    }
    return out;
}

QString labelEdgeReport(const LabelSheet& sheet, const QMarginsF& unprintable)
{
    QList<int> cut;
    for (int k = 0; k < sheet.perSheet(); ++k)
        if (cutByEdge(labelTextArea(sheet.label(k)), kA4Millimetres, unprintable))
            cut.append(k + 1);
    if (cut.isEmpty())
        return {};
    return QStringLiteral(" L'imprimante ne peut pas imprimer près des bords de la feuille (") + marginsText(unprintable)
           + QStringLiteral(") : le texte des étiquettes n° ") + labelsText(cut)
           + QStringLiteral(" de chaque feuille sera coupé.");
}

QString envelopeEdgeReport(const Envelope& envelope, const QMarginsF& unprintable, bool withSender)
{
    const QSizeF paper(envelope.width, envelope.height);
    QStringList cut;
    if (cutByEdge(envelopeAddressArea(envelope), paper, unprintable))
        cut.append(QStringLiteral("l'adresse"));
    if (withSender && cutByEdge(envelopeSenderArea(envelope), paper, unprintable))
        cut.append(QStringLiteral("l'expéditeur"));
    if (cut.isEmpty())
        return {};
    return QStringLiteral(" L'imprimante ne peut pas imprimer près des bords de l'enveloppe (") + marginsText(unprintable)
           + QStringLiteral(") : ") + cut.join(QStringLiteral(" et ")) + QStringLiteral(" seront coupés.");
}

void setLabelPage(QPagedPaintDevice& device)
{
    setFullPage(device, QPageSize(QPageSize::A4), QPageLayout::Portrait);
}

void setEnvelopePage(QPagedPaintDevice& device, const Envelope& envelope)
{
    const QSizeF upright(std::min(envelope.width, envelope.height), std::max(envelope.width, envelope.height));
    setFullPage(device, QPageSize(upright, QPageSize::Millimeter, envelope.name), QPageLayout::Landscape);
}

QMarginsF unprintableMargins(const QPagedPaintDevice& device)
{
    QPageLayout layout = device.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    return layout.minimumMargins();
}

Result<int> printLabels(QPagedPaintDevice& device, const LabelSheet& sheet, int start,
                        const std::vector<QStringList>& blocks)
{
    setLabelPage(device);
    QPainter painter;
    if (!painter.begin(&device))
        return printStartError();
    BlockPainter block(painter, device);
    int place = std::clamp(start, 1, sheet.perSheet()) - 1;
    int pages = 1;
    for (const QStringList& lines : blocks) {
        if (place == sheet.perSheet()) {
            device.newPage();
            ++pages;
            place = 0;
        }
        block.draw(lines, labelTextArea(sheet.label(place++)), kBlockPoints, true);
    }
    painter.end();
    return pages;
}

Result<int> printEnvelopes(QPagedPaintDevice& device, const Envelope& envelope, const QStringList& sender,
                           const std::vector<QStringList>& blocks)
{
    setEnvelopePage(device, envelope);
    QPainter painter;
    if (!painter.begin(&device))
        return printStartError();
    BlockPainter block(painter, device);
    int pages = 0;
    for (const QStringList& lines : blocks) {
        if (pages++ > 0)
            device.newPage();
        block.draw(sender, envelopeSenderArea(envelope), kSenderPoints, false);
        block.draw(lines, envelopeAddressArea(envelope), kEnvelopePoints, false);
    }
    painter.end();
    return pages;
}

Result<int> writePdf(const QString& path, const QString& title,
                     const std::function<Result<int>(QPagedPaintDevice&)>& print)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    Result<int> pages = printStartError();
    {
        QPdfWriter writer(&bytes);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Tabulon"));
        writer.setTitle(title);
        pages = print(writer);
    }
    if (!pages)
        return pages;
    if (const Status written = writeFileAtomic(path, bytes.data()); !written)
        return written.error();
    return pages;
}

const Envelope* envelopeByName(const QString& name)
{
    return named(envelopes(), &Envelope::name, name);
}

}  // namespace tb
