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
    m_start.assign(cells + 1, 0);
    m_order.clear();
    if (m_map.isEmpty())
        return;
    // The pins of each cell, in card order, one after the other (counted, then placed).
    std::vector<qint32> cellOf(m_pins.size(), -1);
    for (size_t i = 0; i < m_pins.size(); ++i) {
        const Pin& p = m_pins[i];
        if (!p.drawn() || !(std::abs(p.x) < 1e6f && std::abs(p.y) < 1e6f))
            continue;
        const QPoint c = pinCentreOnScreen(p.x, p.y, m_zoom);
        const int cx = int(std::floor(double(c.x()) / kCell)) + kMarginCells;
        const int cy = int(std::floor(double(c.y()) / kCell)) + kMarginCells;
        if (cx < 0 || cy < 0 || cx >= m_grid.width() || cy >= m_grid.height())
            continue;
        cellOf[i] = qint32(cy * m_grid.width() + cx);
        ++m_start[size_t(cellOf[i]) + 1];
    }
    for (size_t k = 0; k < cells; ++k)
        m_start[k + 1] += m_start[k];
    m_order.resize(size_t(m_start[cells]));
    std::vector<qint32> next(m_start.begin(), m_start.end() - 1);
    for (size_t i = 0; i < m_pins.size(); ++i)
        if (cellOf[i] >= 0)
            m_order[size_t(next[size_t(cellOf[i])]++)] = qint32(i);
}

void PinLayer::draw(QImage& image, const QRect& area) const
{
    if (m_order.empty() || image.isNull())
        return;
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
    std::vector<PinSpot> alone;
    {
        QPainter painter(&image);
        painter.translate(-area.topLeft());
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
                    const Pin& pin = m_pins[size_t(m_order[size_t(j)])];
                    const QPoint c = pinCentreOnScreen(pin.x, pin.y, m_zoom);
                    if (around == 1) {
                        alone.push_back({pin.marker, double(c.x() - area.left()), double(c.y() - area.top())});
                        continue;
                    }
                    // Crowded: a small square centred on the card's own point,
                    // well inside the square a click must hit; a pale centre
                    // over a darker edge keeps each colour visible where
                    // squares overlap and on pale land.
                    const QRect dot(c.x() - kDot / 2, c.y() - kDot / 2, kDot, kDot);
                    QColor edge = pinColor(pin.marker).darker(170);
                    edge.setAlpha(kDotAlpha);
                    painter.fillRect(dot, edge);
                    QColor colour = pinColor(pin.marker);
                    colour.setAlpha(kDotAlpha);
                    painter.fillRect(dot.adjusted(1, 1, -1, -1), colour);
                }
            }
    }
    drawPins(image, alone);
}

}  // namespace tb
