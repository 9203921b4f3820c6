#pragma once
// What every secondary window does on opening.
#include <QString>

class QWidget;

constexpr int kTwipsPerPixel = 15;

// Its name and caption, and deletion when its close box closes it (the next
// opening makes a new one; a window confirmed by its own button only hides).
void setUpSecondaryWindow(QWidget* window, const QString& objectName, const QString& caption);

// Centred on an 800 by 600 screen, in twips (15 per pixel):
// left = (area width - width) / 2, top = (9000 - height) / 2.
void centreOn800x600(QWidget* window, int areaWidthTwips = 12000);
