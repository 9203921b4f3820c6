#pragma once
// Which pins a map click falls on.

namespace tb {

// A pin at (xs, ys) is hit by a click at (x, y) when both distances are
// strictly below 6 pixels: the pin's square.
bool pinHit(double x, double y, double xs, double ys);

}  // namespace tb
