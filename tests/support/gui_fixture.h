#pragma once
// Whole-window tests: a program folder from data/, the fake Dialogs, and the real main window started on it, driven
// through its menus, mouse and keys. It brings what nearly every window test uses.
#include "core/db/session.h"
#include "fake_dialogs.h"
#include "fake_launcher.h"
#include "fixtures.h"
#include "gui/app/main_window.h"
#include "gui/cards/card_window.h"
#include "gui/lists/list_window.h"
#include "gui/map/map_picture.h"
#include "gui/widgets/card_list_model.h"
#include "gui/widgets/card_list_view.h"
#include "gui/widgets/folder_list.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace testing_support {

// The child of window with that objectName, or nullptr.
template <typename T>
T* child(QWidget* window, const QString& name) { return window ? window->findChild<T*>(name) : nullptr; }
inline void click(QWidget* widget, QPoint pos = QPoint(), Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(widget, button, Qt::NoModifier, pos);
}
using QTest::keyClick;
inline QString labelText(QWidget* window, const QString& name)
{
    auto* label = child<QLabel>(window, name);
    return label ? label->text() : QStringLiteral("<absent>");
}

inline QPoint rowCentre(QAbstractItemView* view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    return view->visualRect(index).center();
}

inline void clickRow(QAbstractItemView* view, int row) { click(view->viewport(), rowCentre(view, row)); }

// Each character as its own key press, those outside Latin-1 included.
inline void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.isLetterOrNumber() ? c.toUpper().unicode() : 0),
                            QString(c), Qt::NoModifier);
}

// Shows window and makes it the active one (shortcuts follow the active window).
inline void activate(QWidget* window)
{
    window->show();
    window->activateWindow();
    // Offscreen, a hidden window it owns (a browser just left) stays the
    // focus window and makes it look active already: ask for it anyway.
    if (window->windowHandle())
        window->windowHandle()->requestActivate();
    QCoreApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

// A click (or double-click) on the line text of window's list listName; false when absent.
inline bool clickItem(QWidget* window, const QString& listName, const QString& text, bool twice = false)
{
    auto* list = child<QListWidget>(window, listName);
    const QList<QListWidgetItem*> found = list ? list->findItems(text, Qt::MatchExactly) : QList<QListWidgetItem*>();
    if (found.isEmpty())
        return false;
    clickRow(list, list->row(found.first()));
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, list->row(found.first())));
    return true;
}

// Closes window as its close box does; true when it is then deleted.
inline bool closeAndDelete(QWidget* window)
{
    const QPointer<QWidget> guard(window);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !guard;
}

// Shows window in the real dialogs' modal loop; script runs inside it, after delayMs.
inline void runInRealModalLoop(QWidget* window, const std::function<void()>& script, int delayMs = 0)
{
    window->hide();
    QtDialogs real;
    QTimer::singleShot(delayMs, window, script);
    real.showModal(window);
}

// The display lines and the card numbers (CardNumberRole) of a list's rows.
inline QStringList rowTexts(const QAbstractItemView* view)
{
    QStringList out;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        out.append(view->model()->index(i, 0).data().toString());
    return out;
}

inline QList<long long> rowNumbers(const QAbstractItemView* view)
{
    QList<long long> out;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        out.append(view->model()->index(i, 0).data(CardListModel::CardNumberRole).toLongLong());
    return out;
}

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
    void createDatabase(const QString& name = QStringLiteral("BasePerso"))
    {
        dialogs.inputAnswers.enqueue(name);
        trigger(QStringLiteral("Nbase"));
    }
    // "Fichier" > open: a double-click on the folder (ending with "/") in the chooser, then "Valider".
    void openDatabase(const QString& folder)
    {
        dialogs.modalScripts.enqueue([folder](QWidget* w) {
            auto* list = child<FolderList>(w, QStringLiteral("Dir1"));
            const QFileInfo target(folder.endsWith(u'/') ? folder.chopped(1) : folder);
            // A folder beside the one listed is double-clicked; any other is reached directly.
            if (QFileInfo(list->folder()).absoluteFilePath() != target.absolutePath()
                && list->folder() != target.absolutePath() + u'/')
                list->openFolder(target.absolutePath());
            clickItem(w, QStringLiteral("Dir1"), target.fileName(), true);
            click(child<QPushButton>(w, QStringLiteral("Command1")));
        });
        trigger(QStringLiteral("Obase"));
    }
    // A database name in the program folder holding cards, opened; its folder.
    QString openWithCards(const std::vector<CardRecord>& cards, const QString& name = QStringLiteral("Clients"))
    {
        TempDatabase database(program.path(), name);
        writeCards(database.path(), cards);
        // A database left at 100 %, so that what the tests see is the map's own pixels.
        writeBytes(database.file(QStringLiteral("zoom.txt")), "100\r\n");
        writeBytes(program.file(QStringLiteral("dossier.txt")), name.toUtf8() + "\r\n");
        openDatabase(database.path());
        return database.path();
    }
    // The open database's folder ("" when none).
    QString db() const { return main->session().hasDatabase() ? main->session().database()->folder() : QString(); }
    // Mouse presses on the map at a pixel of the image.
    void leftClickMap(int x, int y) { rightClickMap(x, y, Qt::LeftButton); }
    void rightClickMap(int x, int y, Qt::MouseButton button = Qt::RightButton)
    {
        // At the middle of map pixel (x, y), whatever the zoom; the map menu opens where the pointer last moved.
        auto* picture = main->findChild<MapPicture*>(QStringLiteral("PicImage"));
        const QPoint at(int((x + 0.5) * picture->zoom()), int((y + 0.5) * picture->zoom()));
        QMouseEvent move(QEvent::MouseMove, QPointF(at), picture->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(picture, &move);
        QTest::mousePress(picture, button, {}, at);
    }
    // The menu command of that objectName triggered: the window of that class it showed modal, if any.
    template <typename W>
    W* open(const QString& name) { trigger(name); return shown<W>(); }
    // The window shown modal last, if of that class; the secondary window of that class.
    template <typename W>
    W* shown() const { return qobject_cast<W*>(dialogs.lastModal()); }
    template <typename W>
    W* window() const { return main->findChild<W*>(QString(), Qt::FindDirectChildrenOnly); }
};

}  // namespace testing_support
