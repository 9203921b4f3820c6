// The menu builder: each entry has its own letter, and captions show as written.
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

TEST(MenuLetters, TheBuilderEscapesAmpersandsAndGivesEachEntryAFreeLetter)
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
    EXPECT_EQ(inside->text(), QStringLiteral("&Quitter && fermer"));
    EXPECT_EQ(inside->objectName(), QStringLiteral("quitter"));
}
