#include "core/map/hit_test.h"

#include <algorithm>

namespace tb {

OpenRect clickSquare(double x, double y)
{
    return {x - 6, y - 6, x + 6, y + 6};
}

OpenRect rectBetween(double x1, double y1, double x2, double y2)
{
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

bool pinHit(double x, double y, double xs, double ys)
{
    return clickSquare(x, y).holds(xs, ys);
}

}  // namespace tb
