#include "gui/app/secondary_window.h"

#include <QWidget>
#include <algorithm>

void setUpSecondaryWindow(QWidget* window, const QString& objectName, const QString& caption)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
}

void centreOn800x600(QWidget* window, int areaWidthTwips)
{
    const int left = (areaWidthTwips - window->width() * kTwipsPerPixel) / 2 / kTwipsPerPixel;
    const int top = (9000 - window->height() * kTwipsPerPixel) / 2 / kTwipsPerPixel;
    window->move(std::max(0, left), std::max(0, top));
}
