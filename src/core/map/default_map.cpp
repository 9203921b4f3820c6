#include "core/map/default_map.h"

#include "core/base/safe_write.h"
#include "core/postal/postal_directory.h"

#include <QFileInfo>
#include <QList>
#include <cctype>

namespace tb {

bool isDefaultMap(const QString& mapPath)
{
    return QFileInfo(mapPath).fileName().compare(QStringLiteral("frc.gif"), Qt::CaseInsensitive) == 0;
}

QString defaultMapDrawing(const QString& mapPath)
{
    if (!isDefaultMap(mapPath))
        return {};
    const QFileInfo drawing(QFileInfo(mapPath).absolutePath() + QStringLiteral("/frc.svg"));
    return drawing.isFile() ? drawing.absoluteFilePath() : QString();
}

DepartmentOutlines DepartmentOutlines::read(const QString& programFolder)
{
    DepartmentOutlines outlines;
    const QByteArray text = readWholeFile(programFolder + QStringLiteral("contours.txt"));
    for (const QByteArray& line : text.split('\n')) {
        // "01 x y x y …"
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() < 7 || words.size() % 2 == 0 || words[0].size() != 2)
            continue;
        QPolygonF polygon;
        bool ok = true;
        for (qsizetype k = 1; k + 1 < words.size() && ok; k += 2) {
            bool okY = false;
            polygon << QPointF(words[k].toDouble(&ok), words[k + 1].toDouble(&okY));
            ok = ok && okY;
        }
        if (!ok)
            continue;
        // Corsica is one entry of the department list.
        const QString number = words[0].startsWith('2') && !std::isdigit(uchar(words[0][1]))
                                   ? QStringLiteral("20")
                                   : QString::fromLatin1(words[0]);
        outlines.m_outlines.push_back({number, polygon, polygon.boundingRect()});
    }
    return outlines;
}

QString DepartmentOutlines::departmentAt(int x, int y) const
{
    // The middle of the pixel; the first outline holding it (the inset's
    // enlarged departments come first in the file).
    const QPointF p(x + 0.5, y + 0.5);
    for (const Outline& o : m_outlines)
        if (o.bounds.contains(p) && o.polygon.containsPoint(p, Qt::OddEvenFill))
            return o.department;
    return {};
}

int DepartmentOutlines::departmentRowAt(const QString& programFolder, int x, int y)
{
    const QString number = read(programFolder).departmentAt(x, y);
    return number.isEmpty() ? -1 : departmentRow(readDepartments(programFolder), number);
}

}  // namespace tb
