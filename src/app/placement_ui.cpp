#include "app/placement_ui.h"

#include <QWidget>
#include <algorithm>

void centreOn800x600(QWidget* window, int areaWidthTwips)
{
    const int left = (areaWidthTwips - window->width() * kTwipsPerPixel) / 2 / kTwipsPerPixel;
    const int top = (9000 - window->height() * kTwipsPerPixel) / 2 / kTwipsPerPixel;
    window->move(std::max(0, left), std::max(0, top));
}
