#pragma once
// Whole-window tests: a program folder from data/, the fake Dialogs, and the
// real main window started on it, driven through its menus, mouse and keys.
// It brings what nearly every window test uses.
#include "core/db/session.h"
#include "fake_dialogs.h"
#include "fake_launcher.h"
#include "fixtures.h"
#include "gui/app/main_window.h"
#include "gui/cards/card_window.h"
#include "gui/lists/list_window.h"
#include "gui/widgets/card_list_view.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace testing_support {

class GuiFixture {
public:
    TempProgramFolder program;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    std::unique_ptr<FFrance> main = std::make_unique<FFrance>(dialogs, launcher, program.path());

    // The main window's menu command of that objectName (nullptr if none); trigger is false when none.
    QAction* action(const QString& name) const { return main->findChild<QAction*>(name); }
    bool trigger(const QString& name) { return action(name) ? action(name)->trigger(), true : false; }
    // "Fichier" > new database, answered with name.
    void createDatabase(const QString& name = QStringLiteral("BasePerso"));
    // "Fichier" > open: a double-click on the folder (ending with "/") in the chooser, then "Valider".
    void openDatabase(const QString& folder);
    // A database name in the program folder holding cards, opened; its folder.
    QString openWithCards(const std::vector<CardRecord>& cards, const QString& name = QStringLiteral("Clients"));
    // The open database's folder ("" when none).
    QString db() const { return main->session().hasDatabase() ? main->session().database()->folder() : QString(); }
    // Mouse presses on the map at a pixel of the image.
    void leftClickMap(int x, int y) { rightClickMap(x, y, Qt::LeftButton); }
    void rightClickMap(int x, int y, Qt::MouseButton button = Qt::RightButton);
    // The window shown modal last, if of that class; the secondary window of that class.
    template <typename W>
    W* shown() const { return qobject_cast<W*>(dialogs.lastModal()); }
    template <typename W>
    W* window() const { return main->findChild<W*>(QString(), Qt::FindDirectChildrenOnly); }
};

// The child of window with that objectName, or nullptr.
template <typename T>
T* child(QWidget* window, const QString& name)
{
    return window ? window->findChild<T*>(name) : nullptr;
}
inline void click(QWidget* widget, QPoint pos = QPoint(), Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(widget, button, Qt::NoModifier, pos);
}
using QTest::keyClick;
void clickRow(QAbstractItemView* view, int row);
// Each character as its own key press, those outside Latin-1 included.
void typeText(QWidget* widget, const QString& text);
// Focuses the control name of window, presses Tab: the name of the control focused then.
QString tabFrom(QWidget* window, const QString& name);
// Shows window and makes it the active one (shortcuts follow the active window).
void activate(QWidget* window);
// A click (or double-click) on the line text of window's list listName; false when absent.
bool clickItem(QWidget* window, const QString& listName, const QString& text, bool twice = false);
inline QString labelText(QWidget* window, const QString& name)
{
    auto* label = child<QLabel>(window, name);
    return label ? label->text() : QStringLiteral("<absent>");
}
// Closes window as its close box does; true when it is then deleted.
bool closeAndDelete(QWidget* window);
// Shows window in the real dialogs' modal loop; script runs inside it, after delayMs.
void runInRealModalLoop(QWidget* window, const std::function<void()>& script, int delayMs = 0);
// The display lines and the card numbers (CardNumberRole) of a list's rows.
QStringList rowTexts(const QAbstractItemView* view);
QList<long long> rowNumbers(const QAbstractItemView* view);

}  // namespace testing_support
