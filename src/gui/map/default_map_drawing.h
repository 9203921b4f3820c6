#pragma once
// The default map's drawing ("frc.svg"), drawn instead of its picture above
// 100 % so that borders and numbers stay sharp, and its numbers drawn over the
// pins at every zoom so that a crowded department still shows its number.
// The drawing has the picture's size: one unit is one map pixel.
#include <QRect>
#include <QString>
#include <QSvgRenderer>
#include <memory>
#include <vector>

class QImage;

class DefaultMapDrawing {
public:
    // The drawing of the map at mapPath, or none for any other map (or when
    // the drawing is missing or unreadable).
    static std::shared_ptr<const DefaultMapDrawing> forMap(const QString& mapPath);

    // The same drawing for another thread (a renderer draws in one thread at a time).
    std::shared_ptr<const DefaultMapDrawing> another() const;

    // Sea, land, borders and the inset: area (pixels of the map zoomed by
    // zoom) drawn into image from its top left corner.
    void drawGround(QImage& image, const QRect& area, double zoom) const;
    // The department numbers over what image already shows.
    void drawNumbers(QImage& image, const QRect& area, double zoom) const;

private:
    // An element of the drawing and where it stands, in map pixels.
    struct Element {
        QString id;
        QRectF bounds;
    };
    explicit DefaultMapDrawing(const QString& path);
    void draw(QImage& image, const QRect& area, double zoom, const std::vector<Element>& elements) const;

    QString m_path;
    mutable QSvgRenderer m_renderer;
    // The named elements of the groups "fond" and "numeros", in drawing order:
    // a tile draws only those it shows, not the whole of France.
    std::vector<Element> m_ground, m_numbers;
};
