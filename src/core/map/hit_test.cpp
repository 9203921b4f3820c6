#include "core/map/hit_test.h"

#include "core/cards/card_record.h"
#include "core/cards/card_store.h"

namespace tb {

bool pinHit(double x, double y, double xs, double ys)
{
    return x - 6 < xs && xs < x + 6 && y - 6 < ys && ys < y + 6;
}

std::vector<long long> cardsAt(const CardStore& store, long long count, double x, double y)
{
    std::vector<long long> hits;
    store.forEachRaw(count, [&](long long n, QByteArrayView bytes) {
        const PinSpot s = pinSpotOf(bytes.first(CardRecord::kWidths[0]));
        // Archived cards and records never written have no pin to click.
        if (s.marker > 0 && pinHit(x, y, s.x, s.y))
            hits.push_back(n);
    });
    return hits;
}

}  // namespace tb
