#include "gui/app/secondary_window.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace {
// Marks a window closed with its close box: it is deleted a moment later, and
// the next opening must make a new one.
class CloseMarker : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            watched->setProperty(kClosedProperty, true);
        return false;
    }
};
}  // namespace

QPushButton* makeWindowButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    b->setAutoDefault(true);
    return b;
}

QTreeWidget* makeRowList(QWidget* parent, const QString& accessibleName, const QStringList& headers, int stretchColumn)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("List1"));
    list->setAccessibleName(accessibleName);
    list->setRootIsDecorated(false);
    list->setHeaderLabels(headers);
    list->header()->setSectionResizeMode(stretchColumn, QHeaderView::Stretch);
    return list;
}

bool isClosed(const QWidget* window)
{
    return !window || window->property(kClosedProperty).toBool();
}

void setUpSecondaryWindow(QWidget* window, const QString& objectName, const QString& caption)
{
    window->installEventFilter(new CloseMarker(window));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setObjectName(QStringLiteral("Escape"));
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

void pressedByReturn(QPushButton* button)
{
    button->setDefault(true);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), button->window());
        QObject::connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
    }
}

QScrollArea* scrollingBody(QLayout* body)
{
    auto* content = new QWidget;
    content->setLayout(body);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("Content"));
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // the fields take the focus, not their frame
    return scroll;
}

QSize wholeSize(const QScrollArea* scroll)
{
    return scroll->widget()->sizeHint() + QSize(scroll->verticalScrollBar()->sizeHint().width(), 0);
}

QSize frameAround(const QWidget* window)
{
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    // Not shown yet, the frame is unknown: a usual title bar and borders.
    return frame.isEmpty() ? QSize(8, 32) : frame;
}

void placeOnScreen(QWidget* window, int areaWidthTwips)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QSize frame = frameAround(window);
    const QSize most(avail.width() - frame.width(), avail.height() - frame.height());
    window->resize(window->size().boundedTo(most));
    // The 800 by 600 rule, scaled to the screen the user has.
    const double sx = avail.width() / 800.0, sy = avail.height() / 600.0;
    const int areaW = int(areaWidthTwips / kTwipsPerPixel * sx);
    const int areaH = int(9000 / kTwipsPerPixel * sy);
    const int w = window->width() + frame.width(), h = window->height() + frame.height();
    const int left = std::clamp((std::min(areaW, avail.width()) - w) / 2, 0, std::max(0, avail.width() - w));
    const int top = std::clamp((std::min(areaH, avail.height()) - h) / 2, 0, std::max(0, avail.height() - h));
    window->move(avail.left() + left, avail.top() + top);
}
