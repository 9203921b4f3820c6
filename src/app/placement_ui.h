#pragma once
// Secondary windows centre themselves on an 800 by 600 screen, in twips
// (15 per pixel): left = (area width - width) / 2, top = (9000 - height) / 2.
class QWidget;

constexpr int kTwipsPerPixel = 15;

void centreOn800x600(QWidget* window, int areaWidthTwips = 12000);
