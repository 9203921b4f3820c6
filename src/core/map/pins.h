#pragma once
// Pins of the active cards on the map pictures, and the marker colours.
#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

#include "core/cards/card_record.h"

namespace tb {

// Marker 1..7 colours; an invalid QColor for any other marker.
QColor pinColor(int marker);
QColor swatchColor(int marker);  // as pinColor, but 6 is pale blue (192,192,255)

// What a screen reader or a tooltip says of marker 1..7: "Marqueur 2 : rouge
// foncé"; "" for any other marker.
QString markerName(int marker);

// The marker digit of a text such as Label10: 1 to 7, or 0 for anything else.
int markerOf(const QString& text);

// Draws one pin: a 12 by 12 square from (x-6, y-6) to (x+6, y+6) and a circle
// of radius 10 around (x, y), in the marker's colour; clipped at the edges.
void drawPin(QImage& image, int marker, double x, double y);

// Draws the pins of spots onto image, in order; a pin whose centre lies
// outside the picture draws only what falls inside it, a position far outside
// draws nothing.
void drawPins(QImage& image, const std::vector<PinSpot>& spots);

}  // namespace tb
