#pragma once
// Prints a window's list: printer, font and colour choices, then the date,
// "Liste" and every line, a new page when a page is full.
#include <QStringList>

class Dialogs;
class QListWidget;

void printList(Dialogs& dialogs, const QStringList& lines);

// The lines of a list control, in order (what a window prints).
QStringList listLines(const QListWidget* list);
