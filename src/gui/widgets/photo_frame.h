#pragma once
// Photo frame: the picture unscaled and centred when smaller than the frame,
// otherwise scaled to fit. A click asks for the photo again.
#include <QFrame>
#include <QImage>

class PhotoFrame : public QFrame {
    Q_OBJECT
public:
    explicit PhotoFrame(QWidget* parent = nullptr);
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    // Where the picture is drawn, in frame coordinates.
    QRect pictureRect() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_image;
};
