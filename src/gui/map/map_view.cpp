#include "gui/map/map_view.h"

#include "core/db/database.h"
#include "core/map/pins.h"
#include "core/map/preview_image.h"
#include "gui/map/map_picture.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QWheelEvent>

MapView::MapView(QWidget* parent) : QWidget(parent)
{
    m_container = new QWidget(this);
    m_container->setObjectName(QStringLiteral("PicContainer"));
    m_container->setAutoFillBackground(true);
    m_picture = new MapPicture(m_container);
    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_hScroll->setObjectName(QStringLiteral("HScroll1"));
    m_hScroll->setAccessibleName(QStringLiteral("Défilement horizontal de la carte"));
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    m_vScroll->setObjectName(QStringLiteral("VScroll1"));
    m_vScroll->setAccessibleName(QStringLiteral("Défilement vertical de la carte"));
    // The map moves when the thumb is released, not while it is dragged.
    m_hScroll->setTracking(false);
    m_vScroll->setTracking(false);
    connect(m_hScroll, &QScrollBar::valueChanged, this, &MapView::scrollMap);
    connect(m_vScroll, &QScrollBar::valueChanged, this, &MapView::scrollMap);
}

void MapView::loadMap(const QString& path, bool keepPlace)
{
    const int h = m_hScroll->value(), v = m_vScroll->value();
    m_mapPath = path;
    m_map = tb::loadMapImage(path);
    m_shown = m_map;
    m_drawnPins.clear();
    m_picture->setImage(&m_shown);
    m_picture->move(0, 0);
    m_hScroll->setValue(0);
    m_vScroll->setValue(0);
    layoutViewport();
    if (keepPlace) {
        m_hScroll->setValue(h);
        m_vScroll->setValue(v);
    }
}

void MapView::follow(tb::Database* db, const QString& programFolder)
{
    if (m_db)
        disconnect(m_db, nullptr, this, nullptr);
    m_db = db;
    m_programFolder = programFolder;
    if (db) {
        connect(db, &tb::Database::cardStored, this, &MapView::onCardStored);
        connect(db, &tb::Database::cardsRenumbered, this, &MapView::drawPins);
        connect(db, &tb::Database::mapChanged, this, [this] {
            loadDatabaseMap();
            drawPins();
        });
        loadDatabaseMap();
    }
    drawPins();
}

void MapView::loadDatabaseMap()
{
    // Older databases name the default map without its folder.
    const QString map = m_db->mapPath();
    loadMap(QFileInfo(map).isRelative() && !map.isEmpty() ? m_programFolder + map : map);
}

void MapView::drawPins()
{
    m_shown = m_map;
    m_drawnPins.clear();
    if (m_db) {
        const tb::PinIndex& pins = m_db->pins();
        pins.drawAll(m_shown);
        m_drawnPins.reserve(size_t(pins.size()));
        for (long long n = 1; n <= pins.size(); ++n)
            m_drawnPins.push_back(pins.at(n));
    }
    m_picture->setImage(&m_shown);
}

void MapView::onCardStored(long long n)
{
    if (!m_db || n < 1 || n > m_db->pins().size())
        return;
    const tb::Pin now = m_db->pins().at(n);
    const bool known = n <= (long long)m_drawnPins.size();
    const tb::Pin before = known ? m_drawnPins[size_t(n - 1)] : tb::Pin();
    if (known && before.x == now.x && before.y == now.y && before.marker == now.marker)
        return;
    if (before.drawn() || n > (long long)m_drawnPins.size() + 1) {
        // A pin moved or left: the map under it must come back.
        drawPins();
        return;
    }
    // A new pin, or one that appears: drawn over the rest.
    if (now.drawn())
        tb::drawPins(m_shown, {{now.marker, now.x, now.y}});
    if (known)
        m_drawnPins[size_t(n - 1)] = now;
    else
        m_drawnPins.push_back(now);
    m_picture->update();
}

void MapView::layoutViewport()
{
    const int barW = m_vScroll->sizeHint().width();
    const int barH = m_hScroll->sizeHint().height();
    const int w = qMax(0, width() - barW);
    const int h = qMax(0, height() - barH);
    m_container->setGeometry(0, 0, w, h);
    m_vScroll->setGeometry(w, 0, barW, h);
    m_hScroll->setGeometry(0, h, w, barH);
    // A map smaller than the viewport needs no scrolling: it sits at the top left.
    m_hScroll->setRange(0, qMax(0, m_picture->width() - w));
    m_vScroll->setRange(0, qMax(0, m_picture->height() - h));
    m_hScroll->setPageStep(qMax(1, w));
    m_vScroll->setPageStep(qMax(1, h));
    m_hScroll->setSingleStep(20);
    m_vScroll->setSingleStep(20);
    scrollMap();
}

void MapView::scrollMap()
{
    m_picture->move(-m_hScroll->value(), -m_vScroll->value());
}

void MapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutViewport();
}

void MapView::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls the map down, with Shift across, three steps a notch.
    QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ShiftModifier && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    m_hScroll->setValue(m_hScroll->value() - delta.x() * 3 * m_hScroll->singleStep() / 120);
    m_vScroll->setValue(m_vScroll->value() - delta.y() * 3 * m_vScroll->singleStep() / 120);
    event->accept();
}
