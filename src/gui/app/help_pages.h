#pragma once
// The page of the guide that tells about each window.
#include <QString>

class QWidget;

// The page of window, or of the nearest window it stands above (a message
// over the card window gives the card window's page); "" when none has one.
QString helpPageOf(const QWidget* window);
