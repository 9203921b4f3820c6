#pragma once
// A map in its viewport (PicContainer) with its scroll bars, and the pins of
// a database kept in step with its signals. The main window and the zone
// window each show one; both zoom the same way, and the viewport keeps the
// map point under the pointer (or the middle) in place.
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "core/base/error.h"

class QScrollBar;
class MapPicture;
namespace tb {
class Database;
}

class MapView : public QWidget {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);

    MapPicture* picture() const { return m_picture; }
    // The visible part of the map, for what stays put over it.
    QWidget* viewport() const { return m_container; }

    // Loads the image at path (empty when it cannot be read) and lays out the
    // viewport; keepPlace keeps the scroll bars where they are.
    void loadMap(const QString& path, bool keepPlace = false);
    QString mapPath() const { return m_mapPath; }

    // From now on the pins are db's (none for nullptr), redrawn after each of
    // its changes, at the zoom kept in its folder. A database's own map is
    // loaded, a name without folder taken from programFolder.
    void follow(tb::Database* db, const QString& programFolder);
    // Zoom changes are written to the database's "zoom.txt" (the main map).
    void setKeepsZoom(bool keeps) { m_keepsZoom = keeps; }
    // The pins of the database followed, all read again.
    void drawPins();
    // The map image with its pins, as drawn at 100 %.
    QImage image() const;
    // The cards whose pins touch map pixel (x, y), for a tooltip: empty when none.
    QString pinNames(int x, int y) const;

signals:
    // The zoom could not be kept: told once per database, the wheel would
    // repeat it at every step.
    void failed(const tb::Error& error);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void loadDatabaseMap();
    void layoutViewport();
    void scrollMap();
    void onCardStored(long long n);
    void followZoom(QPointF mapPoint, QPoint viewPoint);

    QPointer<tb::Database> m_db;
    QString m_programFolder;
    QImage m_map;  // as loaded
    QString m_mapPath;
    bool m_keepsZoom = false;
    bool m_applyingZoom = false;  // the database's zoom is being shown
    bool m_zoomWriteFailed = false;

    QScrollBar* m_hScroll = nullptr;
    QScrollBar* m_vScroll = nullptr;
    QWidget* m_container = nullptr;
    MapPicture* m_picture = nullptr;
};
