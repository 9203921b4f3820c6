#include "core/map/zone.h"

#include "core/base/number_text.h"

#include <QPainter>

namespace tb {

namespace {
const QColor kZoneColour(192, 0, 0);  // &HC0

QString pointText(const QPoint& p)
{
    return plainNumber(p.x()) + QStringLiteral(", ") + plainNumber(p.y());
}
}  // namespace

void ZoneMarking::mark(int x, int y)
{
    if (corners() != 1) {
        m_first = QPoint(x, y);
        m_second.reset();
    } else {
        m_second = QPoint(x, y);
    }
}

void ZoneMarking::clear()
{
    m_first.reset();
    m_second.reset();
}

OpenRect ZoneMarking::area() const
{
    if (!complete())
        return {};
    return rectBetween(m_first->x(), m_first->y(), m_second->x(), m_second->y());
}

QString ZoneMarking::hint() const
{
    switch (corners()) {
    case 0:
        return QStringLiteral("Bouton gauche : cliquez sur un coin de la zone, puis sur le coin opposé.");
    case 1:
        return QStringLiteral("Premier coin : ") + pointText(*m_first)
               + QStringLiteral(". Cliquez maintenant sur le coin opposé.");
    default:
        return QStringLiteral("Zone de ") + pointText(*m_first) + QStringLiteral(" à ") + pointText(*m_second)
               + QStringLiteral(". Bouton droit : liste des fiches de la zone.");
    }
}

QString zoneTooltip(int x, int y)
{
    return numberText(x) + QStringLiteral("  ") + numberText(y);
}

void drawZone(QPainter& painter, const ZoneMarking& zone)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    if (zone.complete()) {
        const OpenRect r = zone.area();
        const QRectF box(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
        // A light wash shows which side is inside.
        painter.fillRect(box, QColor(192, 0, 0, 28));
        painter.setPen(QPen(kZoneColour, 2, Qt::DashLine));
        painter.drawRect(box);
    }
    painter.setPen(QPen(kZoneColour, 1));
    for (const std::optional<QPoint>& corner : {zone.first(), zone.second()})
        if (corner)
            painter.drawEllipse(QPointF(*corner), 3, 3);
    painter.restore();
}

}  // namespace tb
