// Pictures from the user's files (map, photos, scans, previews) through the
// guarded loader: never a crash, a freeze or a gigantic allocation.
#include "core/map/preview_image.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    for (const char* name : {"carte.gif", "photo1.jpg"}) {
        const QString path = fuzz::put(QString::fromLatin1(name), bytes);
        (void)tb::loadMapImage(path);
        QSize natural;
        const QImage preview = tb::loadPreview(path, QSize(120, 90), &natural);
        (void)tb::framedPreview(preview, natural, QSize(120, 90), Qt::white);
    }
    (void)tb::previewText(fuzz::put(QStringLiteral("texte.txt"), bytes), 4096);
    return 0;
}
