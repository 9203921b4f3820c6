#include "app/start_up.h"

#include "base/number_text.h"

#include <QImageReader>
#include <QStandardPaths>

namespace tb {

QString screenCheckMessage(int width, int height)
{
    if (width >= 800 && height >= 600)
        return {};
    return QStringLiteral("Il est souhaitable de choisir une résolution d'écran de 800 x 600, la résolution actuelle est ")
           + numberText(width) + QStringLiteral(" x") + numberText(height);
}

QImage loadMapImage(const QString& path)
{
    if (path.isEmpty())
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    // 10000 by 10000 pixels is more than any map needs and keeps memory sane.
    if (!size.isValid() || size.width() > 10000 || size.height() > 10000
        || qint64(size.width()) * size.height() > 50'000'000)
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

QStringList displaySettingsCommand()
{
    const QList<QStringList> candidates = {
        {QStringLiteral("gnome-control-center"), QStringLiteral("display")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_kscreen")},
        {QStringLiteral("xfce4-display-settings")},
        {QStringLiteral("lxrandr")},
        {QStringLiteral("arandr")},
    };
    for (const QStringList& c : candidates) {
        const QString found = QStandardPaths::findExecutable(c.first());
        if (!found.isEmpty()) {
            QStringList command = c;
            command[0] = found;
            return command;
        }
    }
    return {};
}

}  // namespace tb
