// Every control a user types into, chooses from or presses carries a name
// that screen readers (and checks driving the program from outside) can read,
// and every menu bar opens from the keyboard: each entry has its own Alt letter.
#include "gui/app/database_chooser_window.h"
#include "gui/cards/creation_window.h"
#include "gui/cards/scan_viewer_window.h"
#include "gui/cards/text_viewer_window.h"
#include "gui/external/program_chooser_window.h"
#include "gui/external/program_paths_window.h"
#include "gui_fixture.h"
#include "gui/map/file_browser_window.h"
#include "gui/map/map_browser_window.h"
#include "gui/map/zone_window.h"
#include "gui/postal/postal_window.h"
#include "gui/tools/calendar_window.h"
#include "gui/tools/converter_window.h"
#include "gui/tools/iban_window.h"
#include "gui/tools/rib_window.h"
#include "gui/widgets/menu_builder.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

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

TEST(MenuLetters, TheBuilderEscapesAmpersandsAndGivesEachBarEntryAFreeLetter)
{
    QMenuBar bar;
    QMenu* fichier = addSubmenu(&bar, "Fichier", QStringLiteral("Fichier"));
    QAction* plans = addMenuEntry(&bar, "cartes", QStringLiteral("Fiches & Plans"));
    QAction* aide = addMenuEntry(&bar, "aide", QStringLiteral("Aide"), u'e');
    QAction* inside = addMenuEntry(fichier, "quitter", QStringLiteral("Quitter & fermer"));
    EXPECT_EQ(fichier->menuAction()->text(), QStringLiteral("&Fichier"));
    EXPECT_EQ(fichier->accessibleName(), QStringLiteral("Fichier"));
    EXPECT_EQ(fichier->objectName(), QStringLiteral("Fichier"));
    EXPECT_EQ(fichier->menuAction()->objectName(), QStringLiteral("Fichier"));
    EXPECT_EQ(plans->text(), QStringLiteral("F&iches && Plans"));  // "F" is taken
    EXPECT_EQ(aide->text(), QStringLiteral("Aid&e"));
    EXPECT_EQ(inside->text(), QStringLiteral("Quitter && fermer"));
    EXPECT_EQ(inside->objectName(), QStringLiteral("quitter"));
}

TEST(Accessibility, EveryControlIsNamedAndEveryMenuBarEntryHasItsOwnLetter)
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
    f.trigger("Tournèe");
    for (const char* tool : {"cvt", "RIB", "iban", "calendrier", "LogTrtExcel", "LogExtActuels"})
        f.trigger(tool);
    const QList<QWidget*> all = {f.main.get(),          f.window<FFrance3>(),  f.window<FFrance4>(),
                                 f.window<FFrance11>(), f.window<FFrance5>(),  f.window<FFrance22>(),
                                 f.window<Ffrance23>(), f.window<Ffrance29>(), f.window<FFrance8>(),
                                 f.window<Ffrance17>(), f.window<Ffrance7>(),  f.window<Ffrance25>(),
                                 f.window<Ffrance14>(), f.window<Ffrance16>(), f.window<Ffrancelic>(),
                                 f.window<FIban>(),     f.window<Ffrance28>()};
    for (QWidget* w : all) {
        ASSERT_NE(w, nullptr);
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_FALSE(w->windowTitle().isEmpty());
        EXPECT_EQ(unnamedControls(w).join(u' ').toStdString(), "");
    }
    for (QWidget* w : {all[0], all[1], all[2], all[3], all[4], all[16]}) {
        auto* bar = w->findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr) << w->objectName().toStdString();
        QList<QKeySequence> letters;
        for (QAction* a : bar->actions()) {
            const QKeySequence letter = QKeySequence::mnemonic(a->text());
            EXPECT_FALSE(letter.isEmpty()) << a->objectName().toStdString();
            EXPECT_FALSE(letters.contains(letter)) << a->objectName().toStdString();
            letters.append(letter);
        }
    }
}
