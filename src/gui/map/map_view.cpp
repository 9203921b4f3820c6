#include "gui/map/map_view.h"

#include "core/map/pins.h"

#include "core/base/number_text.h"
#include "core/db/database.h"
#include "core/lists/card_lists.h"
#include "core/map/map_zoom.h"
#include "core/map/preview_image.h"
#include "gui/map/default_map_drawing.h"
#include "gui/map/map_picture.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
// Card names a pin tooltip lists before "…".
constexpr int kTipNames = 8;
}  // namespace

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
    connect(m_picture, &MapPicture::zoomChanged, this,
            [this](double, QPointF mapPoint, QPoint viewPoint) { followZoom(mapPoint, viewPoint); });
}

void MapView::loadMap(const QString& path, bool keepPlace)
{
    const int h = m_hScroll->value(), v = m_vScroll->value();
    m_mapPath = path;
    m_map = tb::loadMapImage(path);
    m_picture->setDrawing(DefaultMapDrawing::forMap(path));
    m_picture->setImage(&m_map);
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
    if (!db)
        return;
    // The zoom this database was left at.
    const tb::ZoomSetting zoom = tb::openingZoom(db->folder(), m_map.size(), m_container->size());
    m_zoomWriteFailed = false;
    m_applyingZoom = true;
    if (zoom.fit)
        m_picture->fitToView();
    else
        m_picture->setZoom(zoom.zoom);
    m_applyingZoom = false;
}

void MapView::loadDatabaseMap()
{
    // Older databases name the default map without its folder.
    const QString map = m_db->mapPath();
    loadMap(QFileInfo(map).isRelative() && !map.isEmpty() ? m_programFolder + map : map);
}

void MapView::drawPins()
{
    std::vector<tb::Pin> pins;
    if (m_db) {
        const tb::PinIndex& index = m_db->pins();
        pins.reserve(size_t(index.size()));
        for (long long n = 1; n <= index.size(); ++n)
            pins.push_back(index.at(n));
    }
    m_picture->setPins(std::move(pins));
}

QImage MapView::image() const
{
    return m_picture->renderedAtFullSize();
}

void MapView::onCardStored(long long n)
{
    if (!m_db || n < 1 || n > m_db->pins().size())
        return;
    m_picture->setPin(n, m_db->pins().at(n));
}

QString MapView::pinNames(int x, int y) const
{
    if (!m_db || m_db->count() == 0)
        return {};
    const std::vector<long long> hits = m_db->pins().cardsAt(x, y);
    if (hits.empty())
        return {};
    const std::vector<long long> first(hits.begin(), hits.begin() + std::min<size_t>(hits.size(), kTipNames));
    const tb::Result<tb::CardList> lines = tb::hitList(m_db->store(), m_db->count(), first);
    if (!lines)
        return {};
    QStringList names;
    // Its colour too: pins must not differ by colour alone.
    for (int row = 0; row < lines->size(); ++row)
        names << lines->display(row).simplified() + QStringLiteral(" (")
                     + tb::markerName(m_db->pins().at(lines->number(row)).marker) + u')';
    if (hits.size() > first.size())
        names << QStringLiteral("… et ") + tb::countText((long long)(hits.size() - first.size()))
                     + QStringLiteral(" autre(s) fiche(s)");
    return names.join(u'\n');
}

void MapView::followZoom(QPointF mapPoint, QPoint viewPoint)
{
    layoutViewport();
    const double zoom = m_picture->zoom();
    m_hScroll->setValue(qRound(mapPoint.x() * zoom - viewPoint.x()));
    m_vScroll->setValue(qRound(mapPoint.y() * zoom - viewPoint.y()));
    if (!m_keepsZoom || m_applyingZoom || !m_db || m_db->readOnly())
        return;
    const tb::Status s = tb::writeZoom(m_db->folder(), {m_picture->fitsView(), zoom});
    if (!s && !m_zoomWriteFailed) {
        m_zoomWriteFailed = true;
        emit failed(s.error());
    }
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
    // The wheel scrolls the map down, with Shift across, three steps a notch;
    // with Ctrl the picture zooms it.
    QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ShiftModifier && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    m_hScroll->setValue(m_hScroll->value() - delta.x() * 3 * m_hScroll->singleStep() / 120);
    m_vScroll->setValue(m_vScroll->value() - delta.y() * 3 * m_vScroll->singleStep() / 120);
    event->accept();
}
