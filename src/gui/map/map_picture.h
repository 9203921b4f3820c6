#pragma once
// The map picture (PicImage): shows the map image at its natural size and
// reports mouse moves and presses in pixels of the image.
#include <QImage>
#include <QWidget>
#include <functional>

class QPainter;

class MapPicture : public QWidget {
    Q_OBJECT
public:
    explicit MapPicture(QWidget* parent = nullptr);

    // The picture takes the image's size (17 by 17 when there is none).
    void setImage(const QImage* image);
    // Painted over the image, in pixels of the image (the zone's figures):
    // they stay whatever pins are drawn again under them.
    void setOverlay(std::function<void(QPainter&)> paint);

signals:
    void mouseMoved(int x, int y);
    void pressed(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage* m_image = nullptr;
    std::function<void(QPainter&)> m_overlay;
};
