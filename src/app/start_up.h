#pragma once
// Start-up rules that need no window.
#include <QImage>
#include <QString>

namespace tb {

// The message shown on a screen smaller than 800 by 600, or "" when the screen is large enough.
QString screenCheckMessage(int width, int height);

// Loads a map image; a missing, unreadable or oversized image gives a null
// image rather than a frozen program.
QImage loadMapImage(const QString& path);

// The first display-settings program found on the PATH, with its arguments,
// or an empty list.
QStringList displaySettingsCommand();

}  // namespace tb
