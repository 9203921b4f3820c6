#pragma once
// The pins as a zoomed map shows them: each at its card's point, at its size
// on screen whatever the zoom. Where pins crowd together they are drawn as
// small translucent squares instead, each centred on its own card's point and
// inside the square a click must hit, so the map stays readable under many
// thousand cards; a pin alone keeps its whole shape.
#include "core/map/pin_index.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <vector>

namespace tb {

class PinLayer {
public:
    // Screen cell in which pins are counted; a pin with a neighbour in the
    // cells around its own is crowded.
    static constexpr int kCell = 12;

    // pins[i] belongs to card i + 1.
    void setPins(std::vector<Pin> pins);
    const std::vector<Pin>& pins() const { return m_pins; }
    // Card n's pin changed (n may be one past the end).
    void setPin(long long n, const Pin& pin);
    // The map's size in map pixels and the zoom; the layout is made again.
    void setView(QSize mapSize, double zoom);

    // Draws the pins falling in area (pixels of the zoomed picture) onto
    // image, whose top left is area's top left.
    void draw(QImage& image, const QRect& area) const;

private:
    void layOut();
    std::vector<Pin> m_pins;
    QSize m_map;
    double m_zoom = 1.0;
    QSize m_grid;                 // cells, a pin's reach past each edge included
    // A pin where the zoomed picture shows it, kept cell by cell (in card
    // order within a cell) so that drawing reads them in one run.
    struct Placed {
        qint32 x, y;
        qint8 marker;
    };
    std::vector<qint32> m_start;  // cell k's pins are m_placed[m_start[k]] to m_placed[m_start[k + 1] - 1]
    std::vector<Placed> m_placed;
};

}  // namespace tb
