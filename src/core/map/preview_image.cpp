#include "core/map/preview_image.h"

#include "core/base/francetext.h"
#include "core/base/codepage.h"
#include "core/lists/list_page_layout.h"
#include "core/map/photo_layout.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

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

PictureCheck checkPicture(const QString& path, QSize* naturalSize)
{
    if (naturalSize)
        *naturalSize = QSize();
    const QFileInfo info(path);
    if (!info.isFile())
        return PictureCheck::Missing;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return PictureCheck::NotPicture;
    const QSize size = reader.size();
    if (naturalSize)
        *naturalSize = size;
    if (!size.isValid() || size.isEmpty())
        return PictureCheck::NotPicture;
    return isLoadablePictureSize(size) ? PictureCheck::Loadable : PictureCheck::TooLarge;
}

QString pictureRefusal(PictureCheck check)
{
    switch (check) {
    case PictureCheck::NotPicture:
        return QStringLiteral(" Ce fichier n'est pas une image !");
    case PictureCheck::TooLarge:
        return QStringLiteral(" Cette image est trop grande pour être chargée (plus de 10000 pixels de côté"
                              " ou de 50 millions de pixels) !");
    case PictureCheck::Loadable:
    case PictureCheck::Missing:
        break;
    }
    return {};
}

QImage loadPicture(const QString& path, PictureCheck* check)
{
    PictureCheck found = checkPicture(path);
    QImage image;
    if (found == PictureCheck::Loadable) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        image = reader.read();
        // A header that promised a picture the decoder cannot deliver.
        if (image.isNull())
            found = PictureCheck::NotPicture;
    }
    if (check)
        *check = found;
    return image;
}

QImage loadMapImage(const QString& path)
{
    // A pipe or a device named as the map would be waited on for ever.
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (!isLoadablePictureSize(reader.size()))
        return {};
    const QImage image = reader.read();
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

namespace {
QImage readPreview(QImageReader& reader, QSize frame, QSize* naturalSize)
{
    if (naturalSize)
        *naturalSize = QSize();
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
}  // namespace

QImage loadPreview(const QString& path, QSize frame, QSize* naturalSize)
{
    if (naturalSize)
        *naturalSize = QSize();
    // A pipe or a device under that name would be waited on for ever.
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    return readPreview(reader, frame, naturalSize);
}

QImage loadPreviewData(const QByteArray& bytes, QSize frame, QSize* naturalSize)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return readPreview(reader, frame, naturalSize);
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

Status printPicture(QPagedPaintDevice& device, const QImage& image)
{
    constexpr double kTwipsPerInch = 1440.0;
    constexpr double kTwipsPerPixel = 15.0;
    constexpr double kCornerTwips = 1.0;
    QPainter painter;
    if (!painter.begin(&device))
        return printStartError();
    if (!image.isNull()) {
        const double left = kCornerTwips * device.logicalDpiX() / kTwipsPerInch;
        const double top = kCornerTwips * device.logicalDpiY() / kTwipsPerInch;
        double w = image.width() * kTwipsPerPixel * device.logicalDpiX() / kTwipsPerInch;
        double h = image.height() * kTwipsPerPixel * device.logicalDpiY() / kTwipsPerInch;
        const double ratio = std::min({1.0, (device.width() - left) / w, (device.height() - top) / h});
        w *= ratio;
        h *= ratio;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(left, top, w, h), image);
    }
    painter.end();
    return {};
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
