#pragma once
// Prints a window's list: printer, font and colour choices, then the date,
// "Liste" and every line, a new page when a page is full.
#include <QStringList>

class Dialogs;

void printList(Dialogs& dialogs, const QStringList& lines);
