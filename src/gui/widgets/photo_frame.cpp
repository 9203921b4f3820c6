#include "gui/widgets/photo_frame.h"

#include "core/map/photo_layout.h"

#include <QMouseEvent>
#include <QPainter>

PhotoFrame::PhotoFrame(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
}

void PhotoFrame::setImage(const QImage& image)
{
    m_image = image;
    update();
}

QRect PhotoFrame::pictureRect() const
{
    const QRect inner = contentsRect();
    return tb::photoRect(m_image.size(), inner.size()).translated(inner.topLeft());
}

void PhotoFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_image.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setClipRect(contentsRect());
    p.drawImage(pictureRect(), m_image);
}

void PhotoFrame::mousePressEvent(QMouseEvent* event)
{
    QFrame::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}
