#pragma once
// On a map other than the default one there is no department to pin by: the
// user is told to click the place, and the next click on the main window's
// map is handed to whoever asked (an import, the sync's settings).
#include <QPointF>
#include <QString>
#include <functional>

class Dialogs;

class MapPointWait {
public:
    // Tells text, then waits; an earlier wait is dropped.
    void ask(Dialogs& dialogs, const QString& text, std::function<void(QPointF)> then);
    // True when a click was waited for (then handed over).
    bool take(int x, int y);
    bool waiting() const { return bool(m_then); }

private:
    std::function<void(QPointF)> m_then;
};
