#pragma once
// Zooming a map: the levels, where a click lands in map pixels, where a pin
// sits on screen, and the zoom a database keeps in "zoom.txt".
#include "core/base/error.h"

#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>

namespace tb {

constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 8.0;

// The zoom within 25 % and 800 %.
double clampZoom(double zoom);
// The next level of the zoom control up (direction > 0) or down.
double nextZoom(double zoom, int direction);
// The levels the zoom control lists, in percent.
const QList<int>& zoomLevels();
// The largest zoom showing the whole map in the view (within the levels' bounds).
double fitZoom(QSize map, QSize view);

// The whole map pixel under a point of the zoomed picture (rounded down):
// everything after a click works on it, as at 100 %.
QPoint mapPixelAt(QPointF picturePoint, double zoom);
// The centre on the zoomed picture of a pin at map point (x, y): the middle
// of its map pixel, the pixel itself at 100 %.
QPoint pinCentreOnScreen(double x, double y, double zoom);

// What "zoom.txt" keeps: a zoom, or the map fitted to the window.
struct ZoomSetting {
    bool fit = false;
    double zoom = 1.0;
    bool operator==(const ZoomSetting&) const = default;
};
// 100 % when the file is missing or unreadable.
ZoomSetting readZoom(const QString& databaseFolder);
// The zoom a database opens at in view: the one it keeps, or, when it keeps
// none, the map fitted to the view unless it fits whole at 100 %.
ZoomSetting openingZoom(const QString& databaseFolder, QSize map, QSize view);
// Written as the percentage ("337") or "ajuster".
Status writeZoom(const QString& databaseFolder, const ZoomSetting& setting);

}  // namespace tb
