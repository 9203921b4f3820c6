#include "core/map/pin_layer.h"

#include "core/map/map_zoom.h"
#include "core/map/pins.h"

#include <QPainter>
#include <cmath>

namespace tb {

namespace {
// Cells past each edge: a pin's radius (10) reaches into the picture from there.
constexpr int kMarginCells = 1;
// The crowded square's side and opacity.
constexpr int kDot = 5;
constexpr int kDotAlpha = 190;
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
    m_count.assign(cells, 0);
    m_last.assign(cells, -1);
    if (m_map.isEmpty())
        return;
    for (size_t i = 0; i < m_pins.size(); ++i) {
        const Pin& p = m_pins[i];
        if (!p.drawn() || !(std::abs(p.x) < 1e6f && std::abs(p.y) < 1e6f))
            continue;
        const QPoint c = pinCentreOnScreen(p.x, p.y, m_zoom);
        const int cx = int(std::floor(double(c.x()) / kCell)) + kMarginCells;
        const int cy = int(std::floor(double(c.y()) / kCell)) + kMarginCells;
        if (cx < 0 || cy < 0 || cx >= m_grid.width() || cy >= m_grid.height())
            continue;
        const size_t k = size_t(cy) * size_t(m_grid.width()) + size_t(cx);
        ++m_count[k];
        m_last[k] = qint32(i);
    }
}

void PinLayer::draw(QImage& image, const QRect& area) const
{
    if (m_count.empty() || image.isNull())
        return;
    const int reach = 11;  // a whole pin's radius and a pixel
    const int x0 = std::max(0, (area.left() - reach) / kCell - 1 + kMarginCells);
    const int y0 = std::max(0, (area.top() - reach) / kCell - 1 + kMarginCells);
    const int x1 = std::min(m_grid.width() - 1, (area.right() + reach) / kCell + 1 + kMarginCells);
    const int y1 = std::min(m_grid.height() - 1, (area.bottom() + reach) / kCell + 1 + kMarginCells);
    auto count = [&](int cx, int cy) {
        if (cx < 0 || cy < 0 || cx >= m_grid.width() || cy >= m_grid.height())
            return 0;
        return m_count[size_t(cy) * size_t(m_grid.width()) + size_t(cx)];
    };
    std::vector<PinSpot> alone;
    {
        QPainter painter(&image);
        painter.translate(-area.topLeft());
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx) {
                const int n = count(cx, cy);
                if (n == 0)
                    continue;
                const Pin& last = m_pins[size_t(m_last[size_t(cy) * size_t(m_grid.width()) + size_t(cx)])];
                const QPoint c = pinCentreOnScreen(last.x, last.y, m_zoom);
                int around = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        around += count(cx + dx, cy + dy);
                if (around == 1) {
                    alone.push_back({last.marker, double(c.x() - area.left()), double(c.y() - area.top())});
                    continue;
                }
                // Crowded: the colour of the card drawn last, a little larger
                // where many cards share the cell.
                QColor colour = pinColor(last.marker);
                colour.setAlpha(kDotAlpha);
                const int side = n >= 10 ? kDot + 2 : kDot;
                const QPoint centre((cx - kMarginCells) * kCell + kCell / 2, (cy - kMarginCells) * kCell + kCell / 2);
                const QRect dot(centre.x() - side / 2, centre.y() - side / 2, side, side);
                painter.fillRect(dot, colour);
                // A darker edge keeps pale colours visible on pale land.
                QColor edge = pinColor(last.marker).darker(170);
                edge.setAlpha(kDotAlpha);
                painter.setPen(edge);
                painter.drawRect(dot.adjusted(0, 0, -1, -1));
            }
    }
    drawPins(image, alone);
}

}  // namespace tb
