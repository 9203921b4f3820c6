#pragma once
// Pins of the active cards on the map pictures, and the marker colours.
#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

class CardStore;

namespace tb {

// Marker 1..7 colours; an invalid QColor for any other marker.
QColor pinColor(int marker);
QColor swatchColor(int marker);  // as pinColor, but 6 is pale blue (192,192,255)

// The marker digit of a text such as Label10: 1 to 7, or 0 for anything else.
int markerOf(const QString& text);

// Draws one pin: a 12 by 12 square from (x-6, y-6) to (x+6, y+6) and a circle
// of radius 10 around (x, y), in the marker's colour; clipped at the edges.
void drawPin(QImage& image, int marker, double x, double y);

// Reads the count into countText (as "NBFiches.dat" holds it; unchanged when
// the file is missing) and draws the pin of every active card onto each image.
// One pass over the records, in large blocks, from prepared sprites.
void drawAllPins(const CardStore& store, const std::vector<QImage*>& images, QString* countText);

}  // namespace tb
