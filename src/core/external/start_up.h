#pragma once
// Start-up rules that need no window.
#include <QStringList>
#include <QString>

namespace tb {

// The message shown on a screen smaller than 800 by 600, or "" when the screen is large enough.
QString screenCheckMessage(int width, int height);

// The first display-settings program found on the PATH, with its arguments,
// or an empty list.
QStringList displaySettingsCommand();

}  // namespace tb
