// Field 1 of a record: the marker and the position a pin is drawn at.
#include "core/cards/card_record.h"
#include "core/map/pin_index.h"
#include "core/map/pins.h"
#include "fuzz_support.h"

#include <QImage>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QByteArrayView field = QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 30));
    const tb::PinSpot spot = tb::pinSpotOf(field);
    const tb::Pin pin = tb::pinOf(field);
    const CardRecord card = CardRecord::fromBytes(bytes);
    (void)card.marker();
    (void)tb::positionText(card.x(), card.y());
    QImage image(64, 64, QImage::Format_RGB32);
    tb::drawPin(image, spot.marker, spot.x, spot.y);
    tb::drawPins(image, {spot});
    (void)pin.drawn();
    return 0;
}
