#pragma once
// Position and marker of every card, read in one pass when a database opens
// and kept in step as cards change: pins are drawn and map clicks answered
// from it without reading the records again.
#include "core/base/error.h"
#include "core/cards/card_record.h"
#include "core/map/hit_test.h"

#include <QImage>
#include <vector>

class CardStore;

namespace tb {

struct Pin {
    float x = 0, y = 0;
    qint8 marker = 0;  // 1 to 7 active (its colour), 0 or other: no pin
    bool active() const { return marker >= 1; }
    bool drawn() const { return marker >= 1 && marker <= 7; }
};

class PinIndex {
public:
    // Cards 1..count from the records (missing records have no pin).
    tb::Status load(const CardStore& store, long long count);
    void resize(long long count);
    void set(long long n, const CardRecord& card);
    long long size() const { return (long long)m_pins.size(); }
    const Pin& at(long long n) const { return m_pins[size_t(n - 1)]; }

    // Active cards (marker 1 to 9) whose pin lies strictly inside area, in
    // increasing card number: one pass over the index.
    std::vector<long long> cardsIn(const OpenRect& area) const;
    // Active cards whose pin square holds the point: both distances strictly
    // below 6 pixels.
    std::vector<long long> cardsAt(double x, double y) const { return cardsIn(clickSquare(x, y)); }
    // Active cards strictly inside the rectangle between two corners given in
    // any order.
    std::vector<long long> cardsInside(double x1, double y1, double x2, double y2) const
    {
        return cardsIn(rectBetween(x1, y1, x2, y2));
    }

    // Every drawn pin onto image, in card order.
    void drawAll(QImage& image) const;

private:
    std::vector<Pin> m_pins;
};

Pin pinOf(QByteArrayView field1Bytes);

}  // namespace tb
