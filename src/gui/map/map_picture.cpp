#include "gui/map/map_picture.h"

#include "core/map/map_zoom.h"
#include "gui/map/default_map_drawing.h"

#include <QHelpEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QThreadPool>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace {
// Tiles kept: a few screens' worth (256 by 256 pixels each, 256 KB).
constexpr int kMaxTiles = 96;
const QString kUsualTip = QStringLiteral("Bouton gauche = Voir les fiches <---> Bouton droit = création d'une fiche");
}

MapPicture::MapPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PicImage"));
    setMouseTracking(true);
    setToolTip(kUsualTip);
    setAccessibleName(QStringLiteral("Carte"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(17, 17);
    if (parent)
        parent->installEventFilter(this);
    // The window's keys, wherever the focus is in it.
    auto shortcut = [this](const QKeySequence& keys, const std::function<void()>& action) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { zoomIn(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomIn(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { zoomOut(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { setZoom(1.0); });
    m_worker = new QThreadPool(this);
    m_worker->setMaxThreadCount(1);
}

MapPicture::~MapPicture()
{
    m_worker->waitForDone();
}

void MapPicture::setDrawing(std::shared_ptr<const DefaultMapDrawing> drawing)
{
    m_drawing = std::move(drawing);
    m_workerDrawing = m_drawing ? m_drawing->another() : nullptr;
    dropDrawnTiles();
}

void MapPicture::dropDrawnTiles()
{
    ++m_generation;
    m_drawn.clear();
    m_waiting.clear();
}

void MapPicture::setImage(const QImage* image)
{
    m_image = image;
    m_rgb = m_image && !m_image->isNull() ? m_image->convertToFormat(QImage::Format_RGB32) : QImage();
    m_scaled = QImage();
    m_layer.setView(mapSize(), m_zoom);
    m_zoomedSize = QSize();
    applyZoom(m_zoom, m_fit, QPoint());
    invalidate();
}

void MapPicture::imageChanged()
{
    setImage(m_image);
}

void MapPicture::setPins(std::vector<tb::Pin> pins)
{
    m_layer.setPins(std::move(pins));
    invalidate();
}

void MapPicture::setPin(long long n, const tb::Pin& pin)
{
    m_layer.setPin(n, pin);
    invalidate();
}

QSize MapPicture::mapSize() const
{
    return m_image && !m_image->isNull() ? m_image->size() : QSize();
}

void MapPicture::setZoom(double zoom)
{
    const QWidget* view = parentWidget();
    applyZoom(zoom, false, view ? view->rect().center() : QPoint());
}

void MapPicture::fitToView()
{
    applyZoom(1.0, true, QPoint());
}

void MapPicture::zoomIn()
{
    setZoom(tb::nextZoom(m_zoom, +1));
}

void MapPicture::zoomOut()
{
    setZoom(tb::nextZoom(m_zoom, -1));
}

void MapPicture::applyZoom(double zoom, bool fit, QPoint viewPoint)
{
    const QWidget* view = parentWidget();
    if (fit)
        zoom = tb::fitZoom(mapSize(), view ? view->size() : QSize());
    zoom = tb::clampZoom(zoom);
    // The map point under viewPoint before the change.
    const QPointF mapPoint = QPointF(mapFromParent(viewPoint)) / m_zoom;
    const bool changed = zoom != m_zoom || fit != m_fit;
    m_zoom = zoom;
    m_fit = fit;
    const QSize map = mapSize();
    const QSize size = map.isEmpty() ? QSize(17, 17)
                                     : QSize(int(std::ceil(map.width() * zoom)), int(std::ceil(map.height() * zoom)));
    if (changed || size != m_zoomedSize) {
        m_zoomedSize = size;
        dropDrawnTiles();
        m_layer.setView(map, zoom);
        m_scaled = zoom < 1.0 && !map.isEmpty()
                       ? m_rgb.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       : QImage();
        resize(size);
        invalidate();
    }
    if (changed)
        emit zoomChanged(m_zoom, mapPoint, viewPoint);
}

void MapPicture::invalidate()
{
    m_tiles.clear();
    update();
}

const QImage& MapPicture::tile(int tx, int ty)
{
    const quint64 key = quint64(quint32(tx)) << 32 | quint32(ty);
    auto it = m_tiles.find(key);
    if (it != m_tiles.end())
        return *it;
    if (m_tiles.size() >= kMaxTiles)
        m_tiles.clear();
    QImage image(kTile, kTile, QImage::Format_RGB32);
    renderTile(image, QRect(tx * kTile, ty * kTile, kTile, kTile), key);
    return *m_tiles.insert(key, std::move(image));
}

void MapPicture::renderTile(QImage& image, const QRect& area, quint64 key)
{
    image.fill(Qt::white);
    if (!m_image || m_image->isNull())
        return;
    // The default map is its drawing above 100 %, with its numbers over the
    // pins, once the drawing is made for this tile.
    const auto drawn = m_drawing ? m_drawn.constFind(key) : m_drawn.constEnd();
    if (drawn != m_drawn.constEnd() && !drawn->ground.isNull())
        image = drawn->ground.copy();
    else
        drawPicture(image, area);
    m_layer.draw(image, area);
    if (drawn != m_drawn.constEnd()) {
        QPainter(&image).drawImage(0, 0, drawn->numbers);
    } else if (m_drawing && !m_waiting.contains(key)) {
        m_waiting.append(key);
        drawNextSharpTile();
    }
}

void MapPicture::drawNextSharpTile()
{
    while (!m_drawingTile && !m_waiting.isEmpty() && m_workerDrawing) {
        const quint64 key = m_waiting.takeFirst();
        const QRect area(int(key >> 32) * kTile, int(quint32(key)) * kTile, kTile, kTile);
        // Scrolled out of sight meanwhile: drawn when it shows again.
        if (isVisible() && !visibleRegion().intersects(area))
            continue;
        m_drawingTile = true;
        m_worker->start([this, drawing = m_workerDrawing, generation = m_generation, key, area, zoom = m_zoom] {
            DrawnTile drawn;
            if (zoom > 1.0) {
                drawn.ground = QImage(kTile, kTile, QImage::Format_RGB32);
                drawn.ground.fill(Qt::white);
                drawing->drawGround(drawn.ground, area, zoom);
            }
            drawn.numbers = QImage(kTile, kTile, QImage::Format_ARGB32_Premultiplied);
            drawn.numbers.fill(Qt::transparent);
            drawing->drawNumbers(drawn.numbers, area, zoom);
            // Dropped with the picture if it is gone meanwhile.
            QMetaObject::invokeMethod(
                this, [this, generation, key, drawn] { takeDrawnTile(generation, key, drawn); }, Qt::QueuedConnection);
        });
    }
}

void MapPicture::takeDrawnTile(quint64 generation, quint64 key, const DrawnTile& drawn)
{
    m_drawingTile = false;
    if (generation == m_generation) {
        if (m_drawn.size() >= kMaxTiles)
            m_drawn.clear();
        m_drawn.insert(key, drawn);
        // Without a sharper ground (100 % and below) the tile shown keeps its
        // picture and pins: only the numbers go over it, no pin drawn again.
        const auto shown = m_tiles.find(key);
        if (shown != m_tiles.end() && drawn.ground.isNull())
            QPainter(&*shown).drawImage(0, 0, drawn.numbers);
        else
            m_tiles.remove(key);
        update(QRect(int(key >> 32) * kTile, int(quint32(key)) * kTile, kTile, kTile));
    }
    drawNextSharpTile();
}

void MapPicture::drawPicture(QImage& image, const QRect& area) const
{
    {
        QPainter p(&image);
        if (!m_scaled.isNull()) {
            p.drawImage(QPoint(0, 0), m_scaled, area);
        } else if (m_zoom == 1.0) {
            p.drawImage(QPoint(0, 0), m_rgb, area);
        } else {
            // Scaled through the painter, clipped to the tile: neighbouring
            // tiles join without a seam.
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.translate(-area.topLeft());
            p.scale(m_zoom, m_zoom);
            const QRectF source(area.left() / m_zoom - 1, area.top() / m_zoom - 1, area.width() / m_zoom + 2,
                                area.height() / m_zoom + 2);
            p.setClipRect(source);
            p.drawImage(QPointF(0, 0), m_rgb);
        }
    }
}

QImage MapPicture::renderedAtFullSize() const
{
    if (!m_image || m_image->isNull())
        return QImage();
    QImage image = m_rgb;
    tb::PinLayer layer = m_layer;
    layer.setView(image.size(), 1.0);
    layer.draw(image, image.rect());
    return image;
}

void MapPicture::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    for (int ty = r.top() / kTile; ty <= r.bottom() / kTile; ++ty)
        for (int tx = r.left() / kTile; tx <= r.right() / kTile; ++tx) {
            const QRect area(tx * kTile, ty * kTile, kTile, kTile);
            const QRect part = area.intersected(r);
            p.drawImage(part.topLeft(), tile(tx, ty), part.translated(-area.topLeft()));
        }
    if (m_overlay) {
        // Map points land where pins sit: the middle of their zoomed pixel.
        p.setClipRect(r);
        p.translate(0.5 * m_zoom - 0.5, 0.5 * m_zoom - 0.5);
        p.scale(m_zoom, m_zoom);
        m_overlay(p);
    }
}

void MapPicture::setOverlay(std::function<void(QPainter&)> paint)
{
    m_overlay = std::move(paint);
    update();
}

void MapPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = tb::mapPixelAt(event->position(), m_zoom);
    emit mouseMoved(pos.x(), pos.y());
}

void MapPicture::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = tb::mapPixelAt(event->position(), m_zoom);
    emit pressed(event->button(), pos.x(), pos.y());
}

void MapPicture::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint at = mapToParent(event->position().toPoint());
    applyZoom(tb::nextZoom(m_zoom, event->angleDelta().y() > 0 ? +1 : -1), false, at);
}

bool MapPicture::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && m_pinNames) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint pos = tb::mapPixelAt(help->pos(), m_zoom);
        const QString names = m_pinNames(pos.x(), pos.y());
        if (!names.isEmpty()) {
            QToolTip::showText(help->globalPos(), names, this);
            return true;
        }
    }
    return QWidget::event(event);
}

bool MapPicture::eventFilter(QObject* watched, QEvent* event)
{
    // Fitted to the view, the map follows its size.
    if (watched == parentWidget() && event->type() == QEvent::Resize && m_fit)
        applyZoom(m_zoom, true, QPoint());
    return QWidget::eventFilter(watched, event);
}
