#pragma once
// The default map "frc.gif" of the program folder: its drawing "frc.svg",
// drawn when zoomed, and its departments' outlines ("contours.txt", in pixels
// of the map), which tell the department a click points at.
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <vector>

namespace tb {

// True for the default map "frc.gif" (any folder, any case).
bool isDefaultMap(const QString& mapPath);
// The drawing of the default map at mapPath ("frc.svg" beside it); "" for any
// other map or when the drawing is missing.
QString defaultMapDrawing(const QString& mapPath);

class DepartmentOutlines {
public:
    // Empty (every point on the sea) when the file is missing or unreadable.
    static DepartmentOutlines read(const QString& programFolder);

    // The number of the department whose outline holds map pixel (x, y):
    // "01" … "95", Corsica "20" as the department list has it; "" on the sea.
    QString departmentAt(int x, int y) const;
    bool isEmpty() const { return m_outlines.empty(); }

    // The row in the department list ("depts.txt") of the department at map
    // pixel (x, y) of the default map; -1 on the sea.
    static int departmentRowAt(const QString& programFolder, int x, int y);

private:
    struct Outline {
        QString department;
        QPolygonF polygon;
        QRectF bounds;
    };
    std::vector<Outline> m_outlines;
};

}  // namespace tb
