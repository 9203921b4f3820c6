#pragma once
// The entries of every window's menus, built alike: the objectName they are
// found by, the caption shown as written ("&" shows as "&"), the letter
// underlined for Alt, and the caption as the accessible name of a submenu.
#include <QChar>
#include <QString>

class QAction;
class QMenu;
class QWidget;

// container: a menu bar or a menu. mnemonic: the letter Alt (in a bar) or the
// letter alone (in an open menu) chooses it with; without one, the entry
// takes the first letter of its caption that no other entry of that
// container has yet.
QAction* addMenuEntry(QWidget* container, const char* name, const QString& caption, QChar mnemonic = {});
QMenu* addSubmenu(QWidget* container, const char* name, const QString& caption, QChar mnemonic = {});

// A text shown as written on a button or in a menu ("&" doubled).
QString shownAsWritten(const QString& text);

// Gives every button of window without an underlined letter one of its own,
// taken from its caption among the letters no button, buddy label or menu bar
// entry of the window uses yet.
void giveButtonsLetters(QWidget* window);
