#include "gui/widgets/colour_square.h"

#include "core/map/pins.h"

#include <QKeyEvent>
#include <QPainter>

ColourSquare::ColourSquare(int marker, QWidget* parent) : QAbstractButton(parent), m_colour(tb::swatchColor(marker))
{
    setAccessibleName(tb::markerName(marker));
    setToolTip(accessibleName());
    setFixedSize(22, 22);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &ColourSquare::chosen);
}

void ColourSquare::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ColourSquare::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_colour);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!hasFocus())
        return;
    // The keyboard user sees which square Space would choose.
    p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
    p.drawRect(rect().adjusted(2, 2, -3, -3));
}
