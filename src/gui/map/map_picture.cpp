#include "gui/map/map_picture.h"

#include <QMouseEvent>
#include <QPainter>

MapPicture::MapPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PicImage"));
    setMouseTracking(true);
    setToolTip(QStringLiteral("Bouton gauche = Voir les fiches <---> Bouton droit = création d'une fiche"));
    setAccessibleName(QStringLiteral("Carte"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(17, 17);
}

void MapPicture::setImage(const QImage* image)
{
    m_image = image;
    if (m_image && !m_image->isNull())
        resize(m_image->size());
    else
        resize(17, 17);
    update();
}

void MapPicture::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
    if (m_image && !m_image->isNull())
        p.drawImage(event->rect().topLeft(), *m_image, event->rect());
    if (m_overlay)
        m_overlay(p);
}

void MapPicture::setOverlay(std::function<void(QPainter&)> paint)
{
    m_overlay = std::move(paint);
    update();
}

void MapPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit mouseMoved(pos.x(), pos.y());
}

void MapPicture::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit pressed(event->button(), pos.x(), pos.y());
}
