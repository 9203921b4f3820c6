#include "core/map/pin_index.h"

#include "core/cards/card_store.h"
#include "core/cards/pin_field.h"
#include "core/map/pins.h"

#include <cmath>

namespace tb {

namespace {
Pin pinAt(const PinSpot& s)
{
    Pin p;
    // Positions that no float holds (9e99) stay out of every map.
    const auto clampCoord = [](double v) { return std::isfinite(v) ? float(std::clamp(v, -1e9, 1e9)) : -1e9f; };
    p.x = clampCoord(s.x);
    p.y = clampCoord(s.y);
    p.marker = qint8(std::clamp(s.marker, -1, 9));
    return p;
}
}  // namespace

Pin pinOf(QByteArrayView field1Bytes)
{
    return pinAt(pinSpotOf(field1Bytes));
}

tb::Status PinIndex::load(const CardStore& store, long long count)
{
    m_pins.assign(size_t(std::max(0LL, count)), Pin());
    return store.forEachRaw(count, [&](long long n, QByteArrayView bytes) {
        m_pins[size_t(n - 1)] = pinOf(bytes.first(CardRecord::kWidths[0]));
    });
}

void PinIndex::resize(long long count)
{
    m_pins.resize(size_t(std::max(0LL, count)));
}

void PinIndex::set(long long n, const CardRecord& card)
{
    if (n < 1)
        return;
    if (n > size())
        resize(n);
    const PinField pin = PinField::of(card);
    m_pins[size_t(n - 1)] = pinAt({pin.marker(), pin.x(), pin.y()});
}

std::vector<long long> PinIndex::cardsIn(const OpenRect& area) const
{
    std::vector<long long> inside;
    for (size_t i = 0; i < m_pins.size(); ++i) {
        const Pin& p = m_pins[i];
        if (p.active() && area.holds(p.x, p.y))
            inside.push_back((long long)i + 1);
    }
    return inside;
}

void PinIndex::drawAll(QImage& image) const
{
    std::vector<PinSpot> spots;
    spots.reserve(m_pins.size());
    for (const Pin& p : m_pins)
        if (p.drawn())
            spots.push_back({p.marker, p.x, p.y});
    drawPins(image, spots);
}

}  // namespace tb
