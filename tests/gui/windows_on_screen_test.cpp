// Every window inside the smallest screens the program is made for (set before it starts).
#include "every_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

using namespace testing_support;

TEST(WindowsOnScreen, EveryWindowOpensInsideTheScreenFrameIncluded)
{
    if (qEnvironmentVariableIsEmpty("TABULON_SCREEN_CHECK"))
        GTEST_SKIP() << "run on a set screen size only";
    GuiFixture f;
    const QList<QWidget*> windows = openEveryWindow(f);
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    for (QWidget* w : windows) {
        activate(w);
        const QRect frame = w->frameGeometry();
        EXPECT_TRUE(avail.contains(frame)) << w->objectName().toStdString() << " " << frame.x() << "," << frame.y()
                                           << " " << frame.width() << "x" << frame.height() << " on "
                                           << avail.width() << "x" << avail.height();
    }
    // At 1024 pixels wide the card fits whole across: it scrolls only up and down.
    if (avail.width() >= 1024) {
        auto* content = f.main.get()->findChild<QWidget*>(QStringLiteral("FFrance4"))->findChild<QScrollArea*>(QStringLiteral("Content"));
        ASSERT_NE(content, nullptr);
        EXPECT_FALSE(content->horizontalScrollBar()->isVisible());
    }
}
