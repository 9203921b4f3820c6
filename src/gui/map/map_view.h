#pragma once
// A map in its viewport (PicContainer) with its scroll bars, and the pins of
// a database kept in step with its signals. The main window and the zone
// window each show one.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "core/map/pin_index.h"

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
    // its changes. A database's own map is loaded, a name without folder
    // taken from programFolder.
    void follow(tb::Database* db, const QString& programFolder);
    // The map as loaded with the pins of the database followed.
    void drawPins();
    // The map image with its pins, as shown.
    const QImage& image() const { return m_shown; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void loadDatabaseMap();
    void layoutViewport();
    void scrollMap();
    void onCardStored(long long n);

    QPointer<tb::Database> m_db;
    QString m_programFolder;
    QImage m_map;    // as loaded
    QImage m_shown;  // with the pins
    QString m_mapPath;
    std::vector<tb::Pin> m_drawnPins;

    QScrollBar* m_hScroll = nullptr;
    QScrollBar* m_vScroll = nullptr;
    QWidget* m_container = nullptr;
    MapPicture* m_picture = nullptr;
};
