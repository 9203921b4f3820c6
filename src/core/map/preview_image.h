#pragma once
// Pictures read from the user's files (map, photos, previews) without ever
// stalling on a broken or gigantic image.
#include "core/base/error.h"

#include <QImage>
#include <QSize>
#include <QString>

class QPagedPaintDevice;

namespace tb {

// A picture larger than 10000 pixels a side or 50 megapixels is never loaded.
bool isLoadablePictureSize(QSize size);

// What the header of a file says before anything is decoded.
enum class PictureCheck { Loadable, Missing, NotPicture, TooLarge };
PictureCheck checkPicture(const QString& path, QSize* naturalSize = nullptr);
// The message a refused picture gets ("" for Loadable and Missing: a missing
// file only leaves the frame empty).
QString pictureRefusal(PictureCheck check);
// The whole picture at its natural size, or a null image when the check
// refuses it (then *check says why).
QImage loadPicture(const QString& path, PictureCheck* check = nullptr);

// The image at path at its natural size, for the map; a missing, unreadable
// or oversized image gives a null image rather than a frozen program.
QImage loadMapImage(const QString& path);

// The image at path reduced to its place in frame (photoRect), or a null image
// when it cannot be read or is too big to decode safely. *naturalSize receives
// the image's own size (invalid when unreadable).
QImage loadPreview(const QString& path, QSize frame, QSize* naturalSize = nullptr);
// The same from a picture file's bytes.
QImage loadPreviewData(const QByteArray& bytes, QSize frame, QSize* naturalSize = nullptr);

// The image drawn into a frame-sized picture as photoRect lays it out, on
// background; a null picture when image is null.
QImage framedPreview(const QImage& image, QSize natural, QSize frame, const QColor& background);

// Prints image onto device at its natural size (a screen pixel being 15
// twips) from the top-left corner of the page, reduced by one ratio when it
// is larger than the page so that none of it is cut. The painter is begun and
// ended here, which ends the document.
Status printPicture(QPagedPaintDevice& device, const QImage& image);

// Text of a file for a preview box: the whole file as ChargeTexte reads it, or
// only its first maxBytes when it is larger.
QString previewText(const QString& path, qint64 maxBytes = 4 << 20);

}  // namespace tb
