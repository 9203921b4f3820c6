#pragma once
// The entries of every window's menus, built alike: the objectName they are
// found by, the caption shown as written ("&" shows as "&"), the letter
// underlined for Alt, and the caption as the accessible name of a submenu.
#include <QChar>
#include <QString>

class QAction;
class QMenu;
class QWidget;

// container: a menu bar or a menu. mnemonic: the letter Alt opens it with;
// without one, an entry of a menu bar takes the first letter of its caption
// that no other entry of that bar has yet (entries inside menus are reached
// with the arrows and need none).
QAction* addMenuEntry(QWidget* container, const char* name, const QString& caption, QChar mnemonic = {});
QMenu* addSubmenu(QWidget* container, const char* name, const QString& caption, QChar mnemonic = {});
