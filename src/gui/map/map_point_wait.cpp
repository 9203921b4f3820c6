#include "gui/map/map_point_wait.h"

#include "gui/app/dialogs.h"

#include <utility>

void MapPointWait::ask(Dialogs& dialogs, const QString& text, std::function<void(QPointF)> then)
{
    m_then = std::move(then);
    dialogs.message(text);
}

bool MapPointWait::take(int x, int y)
{
    if (!m_then)
        return false;
    // Taken out first: what it does may ask for another point.
    const std::function<void(QPointF)> then = std::exchange(m_then, nullptr);
    then(QPointF(x, y));
    return true;
}
