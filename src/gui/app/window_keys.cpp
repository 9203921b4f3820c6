#include "gui/app/window_keys.h"

#include "core/db/session.h"
#include "core/external/launcher.h"
#include "gui/app/app_context.h"
#include "gui/app/help_pages.h"
#include "gui/widgets/menu_builder.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

WindowKeys::WindowKeys(AppContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx)
{
    qApp->installEventFilter(this);
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    if (event->type() == QEvent::Show && widget->isWindow() && !widget->objectName().isEmpty()) {
        giveButtonsLetters(widget);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier)
        return false;
    if (key->key() == Qt::Key_F1) {
        tb::startHelp(m_ctx.launcher, m_ctx.session.programFolder(), helpPageOf(widget->window()));
        return true;
    }
    if (key->key() == Qt::Key_F10)
        return openFirstMenu(widget->window());
    return false;
}

bool openFirstMenu(QWidget* window)
{
    QMenuBar* bar = nullptr;
    if (auto* main = qobject_cast<QMainWindow*>(window))
        bar = qobject_cast<QMenuBar*>(main->menuWidget());
    for (QMenuBar* b : window->findChildren<QMenuBar*>())
        if (!bar && b->window() == window)
            bar = b;
    if (!bar)
        return false;
    for (QAction* a : bar->actions())
        if (a->isVisible() && a->isEnabled() && !a->isSeparator()) {
            // An entry that is no menu is highlighted in the bar: Return chooses it.
            if (!a->menu())
                bar->setFocus(Qt::MenuBarFocusReason);
            bar->setActiveAction(a);
            return true;
        }
    return false;
}
