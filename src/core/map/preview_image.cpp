#include "core/map/preview_image.h"

#include "core/base/francetext.h"
#include "core/base/codepage.h"
#include "core/map/photo_layout.h"

#include <QColor>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace tb {

namespace {
// Formats that cannot decode at a reduced size are refused above this many
// pixels (a full decode would take hundreds of megabytes).
constexpr qint64 kMaxFullDecodePixels = 50'000'000;
// Even scaled decoding reads every pixel: refuse what would take seconds.
constexpr qint64 kMaxScaledDecodePixels = 300'000'000;
}  // namespace

QImage loadMapImage(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || qint64(size.width()) * size.height() > kMaxFullDecodePixels)
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
    if (!natural.isValid() || natural.isEmpty())
        return {};
    const qint64 pixels = qint64(natural.width()) * natural.height();
    const bool scaledDecode = reader.supportsOption(QImageIOHandler::ScaledSize);
    if (pixels > (scaledDecode ? kMaxScaledDecodePixels : kMaxFullDecodePixels))
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
