#pragma once
// The confidential note of a card as the note editor loads, shows and saves it.
#include "core/base/error.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <array>

class QPagedPaintDevice;

namespace tb {

// The note file's text less the one CR LF its last save added, so that a
// note opened and saved again keeps its length.
QString loadNote(const QString& path);
// The note followed by one CR LF (Francetext::SauveTexte).
Status saveNote(const QString& path, const QString& note);

// The note as the text box shows it: CR LF pairs become line breaks, every
// other control byte a visible stand-in (the control pictures U+2400 to
// U+241F, U+2421 for DEL), so an enciphered note survives the text box.
QString noteForDisplay(const QString& note);
// Back from the text box: line breaks (LF, or the paragraph separators of a
// text document) become CR LF, the stand-ins their bytes.
QString noteFromDisplay(const QString& shown);

// The card summary above the note: civility, surname and first names; street;
// postal code and city; then fields 8 to 14 (texts indexed as Text1(0..19)),
// one line each, each ended by a line break.
QString noteSummary(const std::array<QString, 20>& texts);

struct NotePrintStyle {
    QFont font;
    QColor color = Qt::black;
};

// The lines of shown broken at spaces so that each fits width at font on
// device; a word wider than width stays whole on its own line.
QStringList wrapNoteLines(const QString& shown, const QFont& font, double width, class QPaintDevice* device);

// Prints the note (as shown) onto device from 10 twips down, centred as the
// text box of boxWidthPixels screen pixels; never cut: lines broken at spaces,
// a smaller size when a word is still too wide, a new page when one is full.
// Returns the number of pages.
int printNotePages(QPagedPaintDevice& device, const QString& shown, const NotePrintStyle& style,
                   int boxWidthPixels);

}  // namespace tb
