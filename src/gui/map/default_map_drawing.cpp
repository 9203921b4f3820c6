#include "gui/map/default_map_drawing.h"

#include "core/map/default_map.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>

namespace {
// The groups of frc.svg.
const QString kGround = QStringLiteral("fond");
const QString kNumbers = QStringLiteral("numeros");
}  // namespace

DefaultMapDrawing::DefaultMapDrawing(const QString& path) : m_path(path), m_renderer(path)
{
    if (!m_renderer.isValid())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader xml(&file);
    std::vector<Element>* group = nullptr;
    int depth = 0, groupDepth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && depth-- == groupDepth)
            group = nullptr;
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QString id = xml.attributes().value(QStringLiteral("id")).toString();
        if (id == kGround || id == kNumbers) {
            group = id == kGround ? &m_ground : &m_numbers;
            groupDepth = depth;
        } else if (group && !id.isEmpty()) {
            // Where the element lands: its own bounds through its groups' transforms.
            group->push_back({id, m_renderer.transformForElement(id).mapRect(m_renderer.boundsOnElement(id))});
        }
    }
    if (xml.hasError()) {
        m_ground.clear();
        m_numbers.clear();
    }
}

std::shared_ptr<const DefaultMapDrawing> DefaultMapDrawing::forMap(const QString& mapPath)
{
    const QString path = tb::defaultMapDrawing(mapPath);
    if (path.isEmpty())
        return nullptr;
    std::shared_ptr<DefaultMapDrawing> drawing(new DefaultMapDrawing(path));
    if (drawing->m_ground.empty() || drawing->m_numbers.empty()
        || drawing->m_renderer.viewBoxF().topLeft() != QPointF(0, 0))
        return nullptr;
    return drawing;
}

std::shared_ptr<const DefaultMapDrawing> DefaultMapDrawing::another() const
{
    return std::shared_ptr<const DefaultMapDrawing>(new DefaultMapDrawing(m_path));
}

void DefaultMapDrawing::drawGround(QImage& image, const QRect& area, double zoom) const
{
    draw(image, area, zoom, m_ground);
}

void DefaultMapDrawing::drawNumbers(QImage& image, const QRect& area, double zoom) const
{
    draw(image, area, zoom, m_numbers);
}

void DefaultMapDrawing::draw(QImage& image, const QRect& area, double zoom, const std::vector<Element>& elements) const
{
    // The tile in map pixels, with room for strokes and anti-aliasing.
    const QRectF seen = QRectF(QPointF(area.topLeft()) / zoom, QSizeF(area.size()) / zoom).adjusted(-3, -3, 3, 3);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipRect(QRect(QPoint(0, 0), area.size()));
    p.translate(-area.topLeft());
    p.scale(zoom, zoom);
    for (const Element& e : elements)
        if (e.bounds.intersects(seen))
            m_renderer.render(&p, e.id, e.bounds);
}
