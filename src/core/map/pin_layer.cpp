#include "core/map/pin_layer.h"

#include "core/map/map_zoom.h"
#include "core/map/pins.h"
#include "core/base/processor.h"

#include <QImage>
#include <array>
#if defined(__SSE2__) || defined(__x86_64__)
#include <immintrin.h>
#endif
#include <cmath>

namespace tb {

namespace {
// Cells past each edge: a pin's radius (10) reaches into the picture from there.
constexpr int kMarginCells = 1;
// The crowded square's side and opacity.
constexpr int kDot = 5;
constexpr int kDotAlpha = 190;

// x's four bytes each times a / 255, rounded as the painter rounds them.
quint32 byteMul(quint32 x, quint32 a)
{
    quint64 t = ((quint64(x) | (quint64(x) << 24)) & 0x00ff00ff00ff00ffULL) * a;
    t = (t + ((t >> 8) & 0x00ff00ff00ff00ffULL) + 0x0080008000800080ULL) >> 8;
    t &= 0x00ff00ff00ff00ffULL;
    return quint32(t) | quint32(t >> 24);
}

// A premultiplied colour laid over rect of image (RGB32 or premultiplied
// ARGB), clipped to it: the painter's blend, without its cost per square at
// a million cards.
void blendRect(uchar* bits, qsizetype stride, const QRect& bounds, QRect rect, QRgb premultiplied)
{
    rect &= bounds;
    const quint32 keep = 255 - qAlpha(premultiplied);
#if defined(__SSE2__)
    // Four pixels at a time, each byte widened to 16 bits: the same sums.
    const __m128i zero = _mm_setzero_si128();
    const __m128i factor = _mm_set1_epi16(short(keep));
    const __m128i half = _mm_set1_epi16(0x80);
    const __m128i colour = _mm_set1_epi32(int(premultiplied));
    const auto mul = [&](__m128i v) {
        const __m128i t = _mm_mullo_epi16(v, factor);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half), 8);
    };
#endif
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        auto* line = reinterpret_cast<quint32*>(bits + stride * y);
        int x = rect.left();
#if defined(__SSE2__)
        for (; x + 3 <= rect.right(); x += 4) {
            auto* at = reinterpret_cast<__m128i*>(line + x);
            const __m128i d = _mm_loadu_si128(at);
            const __m128i blended = _mm_packus_epi16(mul(_mm_unpacklo_epi8(d, zero)), mul(_mm_unpackhi_epi8(d, zero)));
            _mm_storeu_si128(at, _mm_add_epi8(blended, colour));
        }
#endif
        for (; x <= rect.right(); ++x)
            line[x] = premultiplied + byteMul(line[x], keep);
    }
}

// A crowded square's two shades over it.
struct DotShades {
    QRgb edge = 0, centre = 0;
};

// The square whose top left is x, y: its edge colour over all of it, then
// its centre colour over the middle.
void blendDot(uchar* bits, qsizetype stride, const QRect& bounds, int x, int y, const DotShades& shades)
{
    const QRect dot(x, y, kDot, kDot);
    blendRect(bits, stride, bounds, dot, shades.edge);
    blendRect(bits, stride, bounds, dot.adjusted(1, 1, -1, -1), shades.centre);
}

#if defined(__x86_64__)
// The same sums for a square well inside the picture, a row of eight pixels
// at a time with each byte widened to 16 bits: the pixels past the square
// are multiplied by 255 and added 0, which leaves them as they were.
__attribute__((target("avx2"))) void blendDotAvx2(uchar* bits, qsizetype stride, const QRect& bounds, int x, int y,
                                                  const DotShades& shades)
{
    static_assert(kDot == 5);
    if (x < 0 || y < 0 || x + 8 > bounds.width() || y + kDot > bounds.height())
        return blendDot(bits, stride, bounds, x, y, shades);
    const short keep = short(255 - kDotAlpha);
    // Pixels 0-3 and 4-7 of a row, four channels each: factors and colours.
    const __m256i edgeFactor = _mm256_set1_epi16(keep);
    const __m256i edgeFactorRight = _mm256_setr_epi16(keep, keep, keep, keep, 255, 255, 255, 255, 255, 255, 255, 255,
                                                      255, 255, 255, 255);
    const __m256i centreFactor = _mm256_setr_epi16(255, 255, 255, 255, keep, keep, keep, keep, keep, keep, keep, keep,
                                                   keep, keep, keep, keep);
    const __m256i edge = _mm256_cvtepu8_epi16(_mm_set1_epi32(int(shades.edge)));
    const __m256i edgeRight = _mm256_and_si256(edge, _mm256_setr_epi64x(-1, 0, 0, 0));
    const __m256i centre =
        _mm256_and_si256(_mm256_cvtepu8_epi16(_mm_set1_epi32(int(shades.centre))), _mm256_setr_epi64x(0, -1, -1, -1));
    const __m256i half = _mm256_set1_epi16(0x80);
    const auto mul = [&](__m256i v, __m256i f) __attribute__((target("avx2"))) {
        const __m256i t = _mm256_mullo_epi16(v, f);
        return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), half), 8);
    };
    for (int row = 0; row < kDot; ++row) {
        uchar* const at = bits + stride * (y + row) + 4 * qsizetype(x);
        __m256i left = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
        __m256i right = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16)));
        left = _mm256_add_epi16(mul(left, edgeFactor), edge);
        right = _mm256_add_epi16(mul(right, edgeFactorRight), edgeRight);
        if (row > 0 && row < kDot - 1)
            left = _mm256_add_epi16(mul(left, centreFactor), centre);
        // Packing works within each half: put pixels 0-3 and 4-7 back in order.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(left, right), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), packed);
    }
}

// Chosen once, for the processor the program runs on.
void (*const blendCrowdedDot)(uchar*, qsizetype, const QRect&, int, int, const DotShades&) =
    processor().avx2 ? blendDotAvx2 : blendDot;
#else
void blendCrowdedDot(uchar* bits, qsizetype stride, const QRect& bounds, int x, int y, const DotShades& shades)
{
    blendDot(bits, stride, bounds, x, y, shades);
}
#endif
}

void PinLayer::setPins(std::vector<Pin> pins)
{
    m_pins = std::move(pins);
    layOut();
}

void PinLayer::setPin(long long n, const Pin& pin)
{
    if (n < 1)
        return;
    if (size_t(n) > m_pins.size())
        m_pins.resize(size_t(n));
    m_pins[size_t(n - 1)] = pin;
    layOut();
}

void PinLayer::setView(QSize mapSize, double zoom)
{
    m_map = mapSize;
    m_zoom = zoom;
    layOut();
}

void PinLayer::layOut()
{
    const int w = int(std::ceil(m_map.width() * m_zoom)), h = int(std::ceil(m_map.height() * m_zoom));
    m_grid = QSize(w / kCell + 1 + 2 * kMarginCells, h / kCell + 1 + 2 * kMarginCells);
    const size_t cells = size_t(m_grid.width()) * size_t(m_grid.height());
    m_start.assign(cells + 1, 0);
    m_placed.clear();
    if (m_map.isEmpty())
        return;
    // The pins of each cell, in card order, one after the other (counted, then placed).
    const auto cellOfPoint = [](int v) { return (v >= 0 ? v / kCell : -((kCell - 1 - v) / kCell)) + kMarginCells; };
    std::vector<qint32> cellOf(m_pins.size(), -1);
    std::vector<Placed> placed(m_pins.size());
    for (size_t i = 0; i < m_pins.size(); ++i) {
        const Pin& p = m_pins[i];
        if (!p.drawn() || !(std::abs(p.x) < 1e6f && std::abs(p.y) < 1e6f))
            continue;
        const QPoint c = pinCentreOnScreen(p.x, p.y, m_zoom);
        const int cx = cellOfPoint(c.x()), cy = cellOfPoint(c.y());
        if (cx < 0 || cy < 0 || cx >= m_grid.width() || cy >= m_grid.height())
            continue;
        cellOf[i] = qint32(cy * m_grid.width() + cx);
        placed[i] = {c.x(), c.y(), p.marker};
        ++m_start[size_t(cellOf[i]) + 1];
    }
    for (size_t k = 0; k < cells; ++k)
        m_start[k + 1] += m_start[k];
    m_placed.resize(size_t(m_start[cells]));
    std::vector<qint32> next(m_start.begin(), m_start.end() - 1);
    for (size_t i = 0; i < m_pins.size(); ++i)
        if (cellOf[i] >= 0)
            m_placed[size_t(next[size_t(cellOf[i])]++)] = placed[i];
}

void PinLayer::draw(QImage& image, const QRect& area) const
{
    if (m_placed.empty() || image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied) {
        // The squares are blended on the two formats the map uses.
        const QImage::Format format = image.format();
        QImage premultiplied = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        draw(premultiplied, area);
        image = premultiplied.convertToFormat(format);
        return;
    }
    const int reach = 11;  // a whole pin's radius and a pixel
    const int x0 = std::max(0, (area.left() - reach) / kCell - 1 + kMarginCells);
    const int y0 = std::max(0, (area.top() - reach) / kCell - 1 + kMarginCells);
    const int x1 = std::min(m_grid.width() - 1, (area.right() + reach) / kCell + 1 + kMarginCells);
    const int y1 = std::min(m_grid.height() - 1, (area.bottom() + reach) / kCell + 1 + kMarginCells);
    auto count = [&](int cx, int cy) {
        if (cx < 0 || cy < 0 || cx >= m_grid.width() || cy >= m_grid.height())
            return 0;
        const size_t k = size_t(cy) * size_t(m_grid.width()) + size_t(cx);
        return m_start[k + 1] - m_start[k];
    };
    // Crowded: a small square centred on the card's own point, well inside
    // the square a click must hit; a pale centre over a darker edge keeps
    // each colour visible where squares overlap and on pale land.
    std::array<DotShades, 8> shades{};
    for (int marker = 1; marker <= 7; ++marker) {
        QColor edge = pinColor(marker).darker(170);
        edge.setAlpha(kDotAlpha);
        QColor centre = pinColor(marker);
        centre.setAlpha(kDotAlpha);
        shades[size_t(marker)] = {qPremultiply(edge.rgba()), qPremultiply(centre.rgba())};
    }
    std::vector<PinSpot> alone;
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const QRect bounds = image.rect();
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx) {
            const size_t k = size_t(cy) * size_t(m_grid.width()) + size_t(cx);
            if (m_start[k + 1] == m_start[k])
                continue;
            int around = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    around += count(cx + dx, cy + dy);
            for (qint32 j = m_start[k]; j < m_start[k + 1]; ++j) {
                const Placed& pin = m_placed[size_t(j)];
                const QPoint c = QPoint(pin.x, pin.y) - area.topLeft();
                if (around == 1) {
                    alone.push_back({pin.marker, double(c.x()), double(c.y())});
                    continue;
                }
                blendCrowdedDot(bits, stride, bounds, c.x() - kDot / 2, c.y() - kDot / 2, shades[size_t(pin.marker)]);
            }
        }
    drawPins(image, alone);
}

}  // namespace tb
