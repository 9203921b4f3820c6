#include "core/map/map_zoom.h"

#include "core/base/safe_write.h"

#include <QFileInfo>
#include <QList>
#include <cmath>

namespace tb {

namespace {
const QString kZoomFile = QStringLiteral("zoom.txt");
const QString kFitWord = QStringLiteral("ajuster");
}

double clampZoom(double zoom)
{
    if (!std::isfinite(zoom))
        return 1.0;
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

const QList<int>& zoomLevels()
{
    static const QList<int> levels = {25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400, 600, 800};
    return levels;
}

double nextZoom(double zoom, int direction)
{
    const double percent = zoom * 100.0;
    if (direction > 0) {
        for (int level : zoomLevels())
            if (level > percent + 0.5)
                return level / 100.0;
        return kMaxZoom;
    }
    for (auto it = zoomLevels().rbegin(); it != zoomLevels().rend(); ++it)
        if (*it < percent - 0.5)
            return *it / 100.0;
    return kMinZoom;
}

double fitZoom(QSize map, QSize view)
{
    if (map.isEmpty() || view.isEmpty())
        return 1.0;
    return clampZoom(std::min(double(view.width()) / map.width(), double(view.height()) / map.height()));
}

QPoint mapPixelAt(QPointF picturePoint, double zoom)
{
    return QPoint(int(std::floor(picturePoint.x() / zoom)), int(std::floor(picturePoint.y() / zoom)));
}

QPoint pinCentreOnScreen(double x, double y, double zoom)
{
    return QPoint(qRound((x + 0.5) * zoom - 0.5), qRound((y + 0.5) * zoom - 0.5));
}

ZoomSetting readZoom(const QString& databaseFolder)
{
    const Result<QByteArray> bytes = readFile(databaseFolder + kZoomFile);
    if (!bytes)
        return {};
    const QString text = QString::fromLatin1(*bytes).trimmed();
    if (text == kFitWord)
        return {true, 1.0};
    bool ok = false;
    const double percent = text.toDouble(&ok);
    if (!ok || !std::isfinite(percent))
        return {};
    return {false, clampZoom(percent / 100.0)};
}

ZoomSetting openingZoom(const QString& databaseFolder, QSize map, QSize view)
{
    if (QFileInfo::exists(databaseFolder + kZoomFile))
        return readZoom(databaseFolder);
    const bool fits = map.width() <= view.width() && map.height() <= view.height();
    return {!fits && !map.isEmpty(), 1.0};
}

Status writeZoom(const QString& databaseFolder, const ZoomSetting& setting)
{
    const QString text = setting.fit ? kFitWord : QString::number(qRound(clampZoom(setting.zoom) * 100.0));
    return writeFileAtomic(databaseFolder + kZoomFile, text.toLatin1() + "\r\n");
}

}  // namespace tb
