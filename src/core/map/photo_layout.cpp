#include "core/map/photo_layout.h"

#include <algorithm>
#include <cmath>

namespace tb {

QRect photoRect(QSize image, QSize frame)
{
    const int iw = image.width(), ih = image.height();
    const int fw = frame.width(), fh = frame.height();
    if (iw <= 0 || ih <= 0 || fw <= 0 || fh <= 0)
        return {};
    if (iw < fw && ih < fh)
        return {(fw - iw) / 2, (fh - ih) / 2, iw, ih};

    // One ratio for both directions: the photo's long side first, then the
    // other side if the result still overflows the frame.
    double ratio;
    if (iw > ih) {
        ratio = double(fw) / iw;
        if (ih * ratio > fh)
            ratio = double(fh) / ih;
    } else {
        ratio = double(fh) / ih;
        if (iw * ratio > fw)
            ratio = double(fw) / iw;
    }
    const int w = std::max(1, std::min(fw, int(std::lround(iw * ratio))));
    const int h = std::max(1, std::min(fh, int(std::lround(ih * ratio))));
    return {(fw - w) / 2, (fh - h) / 2, w, h};
}

}  // namespace tb
