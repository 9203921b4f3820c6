#include "core/map/hit_test.h"

namespace tb {

bool pinHit(double x, double y, double xs, double ys)
{
    return x - 6 < xs && xs < x + 6 && y - 6 < ys && ys < y + 6;
}

}  // namespace tb
