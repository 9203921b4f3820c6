#pragma once
// What the browsers show of a chosen file: its folder text and a picture
// preview that never stalls on a broken or gigantic image.
#include <QImage>
#include <QSize>
#include <QString>

namespace tb {

// folder with exactly one final "/" ("/" stays "/").
QString folderText(const QString& folder);

// The image at path reduced to its place in frame (photoRect), or a null image
// when it cannot be read or is too big to decode safely. *naturalSize receives
// the image's own size (invalid when unreadable).
QImage loadPreview(const QString& path, QSize frame, QSize* naturalSize = nullptr);

// The image drawn into a frame-sized picture as photoRect lays it out, on
// background; a null picture when image is null.
QImage framedPreview(const QImage& image, QSize natural, QSize frame, const QColor& background);

// Text of a file for a preview box: the whole file as ChargeTexte reads it, or
// only its first maxBytes when it is larger.
QString previewText(const QString& path, qint64 maxBytes = 4 << 20);

}  // namespace tb
