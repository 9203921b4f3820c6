#pragma once
// Which pins a map click or a zone holds: both are open rectangles, so one
// test answers both.

namespace tb {

// A rectangle whose bounds hold no point.
struct OpenRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool holds(double x, double y) const { return left < x && x < right && top < y && y < bottom; }
};

// The pin's square around a click at (x, y): a pin is hit when both
// distances are strictly below 6 pixels.
OpenRect clickSquare(double x, double y);
// The rectangle drawn between two corners, given in any order.
OpenRect rectBetween(double x1, double y1, double x2, double y2);

// A pin at (xs, ys) is hit by a click at (x, y).
bool pinHit(double x, double y, double xs, double ys);

}  // namespace tb
