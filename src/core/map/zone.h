#pragma once
// The zone marked on a map with two left clicks: its corners, what the map
// shows of it, and the cards inside it.
#include "core/map/hit_test.h"

#include <QPoint>
#include <QString>
#include <optional>

class QPainter;

namespace tb {

class ZoneMarking {
public:
    // A left click at (x, y): the first corner, or the opposite one that
    // completes the zone. A click once the zone is complete starts a new zone,
    // so the map never shows a rectangle other than the one listed.
    void mark(int x, int y);
    // No corner any more.
    void clear();

    // 0, 1 or 2 corners marked.
    int corners() const { return m_second ? 2 : m_first ? 1 : 0; }
    bool complete() const { return corners() == 2; }
    std::optional<QPoint> first() const { return m_first; }
    std::optional<QPoint> second() const { return m_second; }
    // The rectangle between the two corners, in whatever order they came;
    // empty (holding nothing) while the zone is incomplete: only a zone the
    // map shows lists cards.
    OpenRect area() const;

    // What the user is to do next, or which zone is marked.
    QString hint() const;

private:
    std::optional<QPoint> m_first;
    std::optional<QPoint> m_second;
};

// Position text of the zone map's tooltip: x, two blanks, y, each with its
// leading blank (" 120   45").
QString zoneTooltip(int x, int y);

// The zone's figures in pixels of the map: a dark red circle of radius 3 on
// each corner, then the rectangle between them.
void drawZone(QPainter& painter, const ZoneMarking& zone);

}  // namespace tb
