#pragma once
// The map picture (PicImage): shows the map image, zoomed from 25 % to 800 %
// (Ctrl + wheel, Ctrl++, Ctrl+-, Ctrl+0), with the pins given to it drawn at
// their size on screen over it. Mouse moves and presses are reported in whole
// map pixels, whatever the zoom.
#include "core/map/pin_layer.h"

#include <QHash>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

class DefaultMapDrawing;
class QPainter;
class QThreadPool;

class MapPicture : public QWidget {
    Q_OBJECT
public:
    explicit MapPicture(QWidget* parent = nullptr);
    ~MapPicture() override;

    // The picture takes the image's size times the zoom (17 by 17 when there
    // is none).
    void setImage(const QImage* image);
    // The default map's drawing, for its sharp zooms and its numbers over the
    // pins; none for other maps. Given before the image.
    void setDrawing(std::shared_ptr<const DefaultMapDrawing> drawing);
    // The image changed in place (same size).
    void imageChanged();

    // Pins drawn over the map: pins[i] is card i + 1's.
    void setPins(std::vector<tb::Pin> pins);
    void setPin(long long n, const tb::Pin& pin);

    double zoom() const { return m_zoom; }
    // True while the map follows the size of the view (its parent widget).
    bool fitsView() const { return m_fit; }
    // Keeps the map point at the middle of the view where it is.
    void setZoom(double zoom);
    void fitToView();
    void zoomIn();
    void zoomOut();

    // The map and pins as drawn at 100 %.
    QImage renderedAtFullSize() const;
    // Tiles shown from the picture (enlarged above 100 %) while their drawing
    // is made, one at a time in a thread of its own so that zooming and
    // scrolling never wait for it.
    bool drawingPending() const { return !m_waiting.isEmpty() || m_drawingTile; }

    // Painted over the map and pins, in map pixels (the zone's figures):
    // they stay whatever pins are drawn again under them.
    void setOverlay(std::function<void(QPainter&)> paint);

    // Names of the cards whose pins a map pixel touches, for the tooltip;
    // an empty text leaves the widget's own tooltip.
    void setPinNames(std::function<QString(int x, int y)> names) { m_pinNames = std::move(names); }

signals:
    void mouseMoved(int x, int y);
    void pressed(Qt::MouseButton button, int x, int y);
    // The zoom changed (by the user or the program): mapPoint should be put
    // back under viewPoint, a point of the parent widget.
    void zoomChanged(double zoom, QPointF mapPoint, QPoint viewPoint);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    static constexpr int kTile = 256;
    void applyZoom(double zoom, bool fit, QPoint viewPoint);
    QSize mapSize() const;
    // Drops the cached tiles (map, zoom or pins changed) and repaints.
    void invalidate();
    const QImage& tile(int tx, int ty);
    void renderTile(QImage& image, const QRect& area, quint64 key);
    void drawPicture(QImage& image, const QRect& area) const;
    // The next tile waiting for its drawing, when none is being drawn.
    void drawNextSharpTile();
    void dropDrawnTiles();
    // What the drawing gives a tile: its ground above 100 % (null at or
    // below), and its numbers to lay over the pins.
    struct DrawnTile {
        QImage ground, numbers;
    };
    void takeDrawnTile(quint64 generation, quint64 key, const DrawnTile& drawn);

    const QImage* m_image = nullptr;
    std::shared_ptr<const DefaultMapDrawing> m_drawing;
    QImage m_rgb;     // the map in 32-bit pixels
    QSize m_zoomedSize;
    QImage m_scaled;  // the map below 100 %, scaled once per zoom
    tb::PinLayer m_layer;
    double m_zoom = 1.0;
    bool m_fit = false;
    QHash<quint64, QImage> m_tiles;
    // The drawing at this zoom, per tile, kept while pins change.
    QHash<quint64, DrawnTile> m_drawn;
    QList<quint64> m_waiting;
    bool m_drawingTile = false;
    quint64 m_generation = 0;  // tiles drawn for another zoom or map are dropped
    std::shared_ptr<const DefaultMapDrawing> m_workerDrawing;
    QThreadPool* m_worker = nullptr;
    std::function<QString(int, int)> m_pinNames;
    std::function<void(QPainter&)> m_overlay;
};
