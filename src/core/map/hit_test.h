#pragma once
// Which pins a map click falls on.
#include <vector>

class CardStore;

namespace tb {

// A pin at (xs, ys) is hit by a click at (x, y) when both distances are
// strictly below 6 pixels: the pin's square.
bool pinHit(double x, double y, double xs, double ys);

// Numbers of the active cards hit by a click at (x, y), in increasing order,
// over cards 1..count.
std::vector<long long> cardsAt(const CardStore& store, long long count, double x, double y);

}  // namespace tb
