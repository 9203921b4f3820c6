#include "gui_fixture.h"

#include "gui/map/map_picture.h"
#include "gui/widgets/card_list_model.h"
#include "gui/widgets/folder_list.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

namespace testing_support {

void GuiFixture::createDatabase(const QString& name)
{
    dialogs.inputAnswers.enqueue(name);
    trigger(QStringLiteral("Nbase"));
}

void GuiFixture::openDatabase(const QString& folder)
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

QString GuiFixture::openWithCards(const std::vector<CardRecord>& cards, const QString& name)
{
    TempDatabase database(program.path(), name);
    writeCards(database.path(), cards);
    // A database left at 100 %, so that what the tests see is the map's own pixels.
    writeBytes(database.file(QStringLiteral("zoom.txt")), "100\r\n");
    writeBytes(program.file(QStringLiteral("dossier.txt")), name.toUtf8() + "\r\n");
    openDatabase(database.path());
    return database.path();
}

void GuiFixture::rightClickMap(int x, int y, Qt::MouseButton button)
{
    // At the middle of map pixel (x, y), whatever the zoom; the map menu opens where the pointer last moved.
    auto* picture = main->findChild<MapPicture*>(QStringLiteral("PicImage"));
    const QPoint at(int((x + 0.5) * picture->zoom()), int((y + 0.5) * picture->zoom()));
    QMouseEvent move(QEvent::MouseMove, QPointF(at), picture->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(picture, &move);
    QTest::mousePress(picture, button, {}, at);
}

static QPoint rowCentre(QAbstractItemView* view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    return view->visualRect(index).center();
}

void clickRow(QAbstractItemView* view, int row)
{
    click(view->viewport(), rowCentre(view, row));
}

void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.isLetterOrNumber() ? c.toUpper().unicode() : 0),
                            QString(c), Qt::NoModifier);
}

QString tabFrom(QWidget* window, const QString& name)
{
    QWidget* from = child<QWidget>(window, name);
    if (!from)
        return QStringLiteral("<absent>");
    from->setFocus();
    keyClick(from, Qt::Key_Tab);
    return window->focusWidget() ? window->focusWidget()->objectName() : QString();
}

void activate(QWidget* window)
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

bool clickItem(QWidget* window, const QString& listName, const QString& text, bool twice)
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

bool closeAndDelete(QWidget* window)
{
    const QPointer<QWidget> guard(window);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !guard;
}

void runInRealModalLoop(QWidget* window, const std::function<void()>& script, int delayMs)
{
    window->hide();
    QtDialogs real;
    QTimer::singleShot(delayMs, window, script);
    real.showModal(window);
}

QStringList rowTexts(const QAbstractItemView* view)
{
    QStringList out;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        out.append(view->model()->index(i, 0).data().toString());
    return out;
}

QList<long long> rowNumbers(const QAbstractItemView* view)
{
    QList<long long> out;
    for (int i = 0; i < view->model()->rowCount(); ++i)
        out.append(view->model()->index(i, 0).data(CardListModel::CardNumberRole).toLongLong());
    return out;
}

}  // namespace testing_support
