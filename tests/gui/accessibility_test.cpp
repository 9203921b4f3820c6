// Every control a user types into, chooses from or presses carries a name
// that screen readers (and checks driving the program from outside) can read.
#include "gui/app/database_chooser_window.h"
#include "gui/app/main_window.h"
#include "gui/cards/card_window.h"
#include "gui/cards/creation_window.h"
#include "gui/cards/scan_viewer_window.h"
#include "gui/cards/text_viewer_window.h"
#include "gui/external/program_chooser_window.h"
#include "gui/external/program_paths_window.h"
#include "gui_fixture.h"
#include "gui/lists/list_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/map/map_browser_window.h"
#include "gui/postal/postal_window.h"
#include "gui/tools/calendar_window.h"
#include "gui/tools/converter_window.h"
#include "gui/tools/iban_window.h"
#include "gui/tools/rib_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

bool hasBuddy(QWidget* window, QWidget* w)
{
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() == w && !label->text().isEmpty())
            return true;
    return false;
}

QStringList unnamedControls(QWidget* window)
{
    QStringList missing;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)
                             || qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w)
                             || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QCalendarWidget*>(w);
        if (!control || w->isHidden() || !w->parentWidget() || w->parentWidget()->inherits("QComboBox")
            || w->inherits("QComboBoxListView")
            || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (w->accessibleName().isEmpty() && !hasBuddy(window, w))
            missing << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    }
    return missing;
}

}  // namespace

TEST(Accessibility, EveryControlIsNamed)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100)});
    // Every window, opened the way the user opens it.
    f.dialogs.modalScripts.enqueue([](QWidget*) {});
    f.trigger("Obase");
    f.trigger("alpha");
    f.trigger("Voirlesfiches");
    for (const char* viewer : {"VoirTB3", "VoirTB1"})
        child<QAction>(f.window<FFrance4>(), viewer)->trigger();
    f.rightClickMap(300, 300);
    f.dialogs.modalScripts.enqueue([](QWidget*) {});
    child<QAction>(f.window<FFrance11>(), "photo")->trigger();
    f.trigger("cartes");
    f.trigger("Rechcp");
    for (const char* tool : {"cvt", "RIB", "iban", "calendrier", "LogTrtExcel", "LogExtActuels"})
        f.trigger(tool);
    const QList<QWidget*> all = {f.main.get(),          f.window<FFrance3>(),  f.window<FFrance4>(),
                                 f.window<FFrance11>(), f.window<FFrance5>(),  f.window<FFrance22>(),
                                 f.window<Ffrance23>(), f.window<Ffrance29>(), f.window<FFrance8>(),
                                 f.window<Ffrance17>(), f.window<Ffrance7>(),  f.window<Ffrance25>(),
                                 f.window<Ffrance14>(), f.window<Ffrance16>(), f.window<Ffrancelic>(),
                                 f.window<FIban>()};
    for (QWidget* w : all) {
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->windowTitle().isEmpty()) << w->objectName().toStdString();
        EXPECT_EQ(unnamedControls(w).join(u' ').toStdString(), "") << w->objectName().toStdString();
    }
}
