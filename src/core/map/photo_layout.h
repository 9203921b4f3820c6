#pragma once
// Where a photo or preview is drawn in its frame: unscaled and centred when
// smaller than the frame in both directions, otherwise scaled by one ratio to
// fit and centred.
#include <QRect>
#include <QSize>

namespace tb {

QRect photoRect(QSize image, QSize frame);

}  // namespace tb
