#pragma once
// Prints a window's list: printer, font and colour choices, the preview, then
// the date, "Liste" and every line, a new page when a page is full.
#include "core/lists/list_page_layout.h"

#include <QStringList>
#include <optional>

class Dialogs;
class QListWidget;
class QPrinter;

void printList(Dialogs& dialogs, const QStringList& lines);
// The printer, then the font (fixed pitch, size, bold and italic as chosen)
// and the colour; none when the printer choice is cancelled.
std::optional<tb::ListPrintStyle> choosePrintStyle(Dialogs& dialogs, QPrinter& printer);
// The same from font: the size, bold and italic chosen are taken, and the
// family too when takeFamily.
std::optional<tb::ListPrintStyle> choosePrintStyle(Dialogs& dialogs, QPrinter& printer, const QFont& font,
                                                   bool takeFamily);

// The lines of a list control, in order (what a window prints).
QStringList listLines(const QListWidget* list);
