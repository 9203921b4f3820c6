#pragma once
// What every secondary window does on opening.
#include <QSize>
#include <QStringList>
#include <QString>

class QLayout;
class QPushButton;
class QScrollArea;
class QTreeWidget;
class QWidget;

constexpr int kTwipsPerPixel = 15;
inline constexpr const char* kClosedProperty = "tabulonClosed";

// True once a window was closed with its close box (it is being deleted).
bool isClosed(const QWidget* window);

// Its name and caption, deletion when its close box closes it (the next
// opening makes a new one; a window confirmed by its own button only hides),
// and Escape acting as the close box.
void setUpSecondaryWindow(QWidget* window, const QString& objectName, const QString& caption);

// A button found by name, heard as caption, that Return presses when it has the focus.
QPushButton* makeWindowButton(QWidget* parent, const char* name, const QString& caption);
// "List1": a list of rows in columns under headers, the stretchColumn taking
// the room left.
QTreeWidget* makeRowList(QWidget* parent, const QString& accessibleName, const QStringList& headers, int stretchColumn);

// Return and Enter press button anywhere in its window, as in a dialog (a
// window that is no QDialog has no default button of its own); a text box
// that takes Return keeps it.
void pressedByReturn(QPushButton* button);

// The body of a window whose content may not fit the screen, scrolled where
// it does not; the window's buttons stand outside it, always visible.
QScrollArea* scrollingBody(QLayout* body);
// What the scrolled body needs to show whole.
QSize wholeSize(const QScrollArea* scroll);

// The size the window manager's frame adds to window (a usual guess before it is shown).
QSize frameAround(const QWidget* window);

// Centred as on an 800 by 600 screen (left = (area - width) / 2 with an area
// of 12000 or 12500 twips, top = (9000 - height) / 2), the proportions taken
// on the actual screen; never larger than the available screen.
void placeOnScreen(QWidget* window, int areaWidthTwips = 12000);
