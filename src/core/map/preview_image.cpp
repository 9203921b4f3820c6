#include "core/map/preview_image.h"

#include "core/base/francetext.h"
#include "core/base/codepage.h"
#include "core/map/photo_layout.h"

#include <QColor>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace tb {

bool isLoadablePictureSize(QSize size)
{
    // Beyond these a picture takes hundreds of megabytes, seconds to decode,
    // or a scroll range no scroll bar can show.
    constexpr int kMaxSide = 10000;
    constexpr qint64 kMaxPixels = 50'000'000;
    return size.isValid() && !size.isEmpty() && size.width() <= kMaxSide && size.height() <= kMaxSide
           && qint64(size.width()) * size.height() <= kMaxPixels;
}

QImage loadMapImage(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (!isLoadablePictureSize(reader.size()))
        return {};
    const QImage image = reader.read();
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

QImage loadPreview(const QString& path, QSize frame, QSize* naturalSize)
{
    if (naturalSize)
        *naturalSize = QSize();
    QImageReader reader(path);
    const QSize natural = reader.size();
    if (!isLoadablePictureSize(natural))
        return {};
    const QRect place = photoRect(natural, frame);
    if (place.isEmpty())
        return {};
    if (place.size() != natural)
        reader.setScaledSize(place.size());
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (naturalSize)
        *naturalSize = natural;
    return image;
}

QImage framedPreview(const QImage& image, QSize natural, QSize frame, const QColor& background)
{
    if (image.isNull())
        return {};
    QImage out(frame, QImage::Format_RGB32);
    out.fill(background);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(photoRect(natural, frame), image);
    return out;
}

QString previewText(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (file.size() <= maxBytes)
        return Francetext::ChargeTexte(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromCp1252(file.read(maxBytes));
}

}  // namespace tb
