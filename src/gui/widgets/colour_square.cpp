#include "gui/widgets/colour_square.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ColourSquare::ColourSquare(const QColor& colour, QWidget* parent) : QLabel(parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setFixedSize(22, 22);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ColourSquare::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit chosen();
}

void ColourSquare::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit chosen();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ColourSquare::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // The keyboard user sees which square Space would choose.
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
    p.drawRect(rect().adjusted(2, 2, -3, -3));
}
