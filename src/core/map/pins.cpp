#include "core/map/pins.h"

#include "core/base/numeric.h"
#include "core/cards/card_record.h"

#include <array>

namespace tb {

namespace {

constexpr int kHalfSquare = 6;
constexpr int kRadius = 10;

// The prepared pin: offsets from its centre of every pixel, the square, then
// a one-pixel circle (midpoint algorithm, so the pixels are the same on
// every platform and at every position).
const std::vector<QPoint>& pinShape()
{
    static const std::vector<QPoint> shape = [] {
        std::vector<QPoint> s;
        // A filled square: pale colours such as light yellow stay visible on a pale map.
        for (int dy = -kHalfSquare; dy <= kHalfSquare; ++dy)
            for (int dx = -kHalfSquare; dx <= kHalfSquare; ++dx)
                s.emplace_back(dx, dy);
        int x = kRadius, y = 0, err = 1 - kRadius;
        while (x >= y) {
            for (const QPoint p : {QPoint(x, y), QPoint(y, x), QPoint(-y, x), QPoint(-x, y), QPoint(-x, -y),
                                   QPoint(-y, -x), QPoint(y, -x), QPoint(x, -y)})
                s.push_back(p);
            ++y;
            if (err < 0) {
                err += 2 * y + 1;
            } else {
                --x;
                err += 2 * (y - x) + 1;
            }
        }
        return s;
    }();
    return shape;
}

// The pin's pixels written straight into a 32-bit image; the colours are
// opaque, so the same value suits every 32-bit format.
void stampDirect(QImage& image, QRgb colour, int cx, int cy)
{
    const int w = image.width(), h = image.height();
    const bool inside = cx - kRadius >= 0 && cy - kRadius >= 0 && cx + kRadius < w && cy + kRadius < h;
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const QPoint& p : pinShape()) {
        const int px = cx + p.x(), py = cy + p.y();
        if (!inside && (px < 0 || py < 0 || px >= w || py >= h))
            continue;
        reinterpret_cast<QRgb*>(bits + py * stride)[px] = colour;
    }
}

// Pins are written straight into the pixels of a 32-bit image; any other
// picture (a GIF map is a palette picture) is turned into one first.
void makeDirect32(QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        image.detach();
        return;
    default:
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
}

bool hasPin(int marker) { return marker >= 1 && marker <= 7; }

// Draws the pins given by spots onto one image; spots whose marker has no
// pin are left out.
template <typename Spots>
void stampAll(QImage& image, const Spots& spots)
{
    makeDirect32(image);
    std::array<QRgb, 8> colours{};
    for (int m = 1; m <= 7; ++m)
        colours[m] = pinColor(m).rgba();
    const double w = image.width(), h = image.height();
    // Centres on a grid reaching a pin's radius past each edge; -1 off the grid.
    const int margin = kRadius + 1;
    const int gridW = image.width() + 2 * margin, gridH = image.height() + 2 * margin;
    auto cell = [&](const PinSpot& s) -> qint64 {
        // Checked before rounding: a huge coordinate would overflow the int.
        if (!hasPin(s.marker) || !(s.x > -margin && s.x < w + margin && s.y > -margin && s.y < h + margin))
            return -1;
        const int cx = qRound(s.x) + margin, cy = qRound(s.y) + margin;
        if (cx < 0 || cy < 0 || cx >= gridW || cy >= gridH)
            return -1;
        return qint64(cy) * gridW + cx;
    };
    // A pin with the same centre as a later one is wholly covered by it: only
    // the last pin of each centre is drawn, in card order, which gives the
    // same picture with far fewer pixels written on crowded maps.
    std::vector<qint32> last;
    const bool crowded = spots.size() > 64;
    if (crowded) {
        last.assign(size_t(gridW) * size_t(gridH), -1);
        for (size_t i = 0; i < spots.size(); ++i)
            if (const qint64 c = cell(spots[i]); c >= 0)
                last[size_t(c)] = qint32(i);
    }
    for (size_t i = 0; i < spots.size(); ++i) {
        const PinSpot& s = spots[i];
        const qint64 c = cell(s);
        if (c < 0 || (crowded && last[size_t(c)] != qint32(i)))
            continue;
        stampDirect(image, colours[s.marker], qRound(s.x), qRound(s.y));
    }
}

}  // namespace

QColor pinColor(int marker)
{
    switch (marker) {
    case 1: return QColor(64, 64, 64);
    case 2: return QColor(192, 0, 0);
    case 3: return QColor(0, 0, 255);
    case 4: return QColor(0, 192, 0);
    case 5: return QColor(255, 255, 128);
    case 6: return QColor(128, 128, 255);
    case 7: return QColor(255, 128, 255);
    default: return QColor();
    }
}

QString markerName(int marker)
{
    static const char* const colours[] = {"gris foncé", "rouge foncé", "bleu", "vert",
                                          "jaune clair", "bleu clair", "rose"};
    if (marker < 1 || marker > 7)
        return {};
    return QStringLiteral("Marqueur %1 : ").arg(marker) + QString::fromUtf8(colours[marker - 1]);
}

int markerOf(const QString& text)
{
    return text.size() == 1 && text[0] >= u'1' && text[0] <= u'7' ? text[0].digitValue() : 0;
}

QColor swatchColor(int marker)
{
    return marker == 6 ? QColor(192, 192, 255) : pinColor(marker);
}

void drawPin(QImage& image, int marker, double x, double y)
{
    if (!hasPin(marker) || image.isNull())
        return;
    const PinSpot spot{marker, x, y};
    stampAll(image, std::array<PinSpot, 1>{spot});
}

void drawPins(QImage& image, const std::vector<PinSpot>& spots)
{
    if (image.isNull() || spots.empty())
        return;
    stampAll(image, spots);
}

}  // namespace tb
