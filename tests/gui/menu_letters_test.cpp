// Every window's menu bar opens from the keyboard: each entry has its own Alt
// letter, and the captions show as written.
#include "gui/app/main_window.h"
#include "gui/cards/card_window.h"
#include "gui/cards/creation_window.h"
#include "gui/lists/list_window.h"
#include "gui/map/zone_window.h"
#include "gui/postal/postal_window.h"
#include "gui/widgets/menu_builder.h"
#include "gui_fixture.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace testing_support;

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

TEST(MenuLetters, EveryMenuBarEntryOfEveryWindowHasItsOwnLetter)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100)});
    f.trigger("alpha");
    f.trigger("Voirlesfiches");
    f.rightClickMap(300, 300);
    f.trigger("Tournèe");
    f.trigger("Rechcp");
    const QList<QWidget*> windows = {f.main.get(),          f.window<FFrance3>(), f.window<FFrance4>(),
                                     f.window<FFrance11>(), f.window<Ffrance28>(), f.window<FFrance5>()};
    for (QWidget* w : windows) {
        ASSERT_NE(w, nullptr);
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
