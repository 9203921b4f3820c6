// What a screen reader hears in every window: controls named by their caption, values heard.
#include "every_window.h"
#include "gui/map/map_view.h"
#include "gui/widgets/menu_builder.h"

#include <QAccessible>
#include <QMenuBar>

using namespace testing_support;

namespace {

bool isControl(QAccessible::Role role)
{
    using A = QAccessible;
    return QList<A::Role>{A::PushButton, A::CheckBox, A::RadioButton, A::ComboBox,  A::SpinBox,      A::EditableText,
                          A::List,       A::Table,    A::Tree,        A::Slider,    A::ButtonMenu,   A::ButtonDropDown}
        .contains(role);
}

QString describe(QAccessibleInterface* iface)
{
    const QObject* o = iface->object();
    return (o && !o->objectName().isEmpty() ? o->objectName() : QString::fromLatin1(o ? o->metaObject()->className() : "?"))
           + QStringLiteral(" \"") + iface->text(QAccessible::Name) + u'"';
}

// The controls of the tree under iface that a screen reader could not tell apart.
void walk(QAccessibleInterface* iface, QStringList& wrong, int depth = 0)
{
    if (!iface || !iface->isValid() || depth > 40 || iface->state().invisible)
        return;
    const QString name = iface->text(QAccessible::Name).trimmed();
    const QString value = iface->text(QAccessible::Value).trimmed();
    const auto* widget = qobject_cast<QWidget*>(iface->object());
    if (widget && (widget->isWindow() && depth > 0))
        return;  // a window of its own, walked by itself
    if (isControl(iface->role()) && widget && widget->objectName() != QLatin1String("Text1(0)")) {
        const bool list = iface->role() == QAccessible::List || iface->role() == QAccessible::Table
                          || iface->role() == QAccessible::Tree;  // no value of their own
        if (name.isEmpty() || (!list && !value.isEmpty() && name == value))
            wrong << describe(iface);
    }
    // A value shown in a label is heard, whatever name it was given.
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->text().trimmed().isEmpty()
        && label->textFormat() != Qt::RichText && !Qt::mightBeRichText(label->text()) && !label->buddy()
        && !name.contains(label->text().trimmed()) && !value.contains(label->text().trimmed()))
        wrong << describe(iface) + QStringLiteral(" shows \"") + label->text() + u'"';
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), wrong, depth + 1);
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
    EXPECT_EQ(plans->text(), QStringLiteral("F&iches && Plans"));  // "F" is taken
    EXPECT_EQ(aide->text(), QStringLiteral("Aid&e"));
    EXPECT_EQ(inside->text(), QStringLiteral("&Quitter && fermer"));
}

TEST(Accessibility, EveryControlOfEveryWindowIsNamedByItsCaptionAndEveryValueIsHeard)
{
    GuiFixture f;
    const QList<QWidget*> windows = openEveryWindow(f);
    for (QWidget* w : windows) {
        w->show();
        EXPECT_FALSE(w->windowTitle().isEmpty()) << w->objectName().toStdString();
        QStringList wrong;
        walk(QAccessible::queryAccessibleInterface(w), wrong);
        EXPECT_EQ(wrong.join(QStringLiteral(" | ")).toStdString(), "") << w->objectName().toStdString();
    }
    // The colour squares are buttons named by marker and colour; a pin's tip says its colour too.
    const QStringList colours = {"Marqueur 1 : gris foncé", "Marqueur 2 : rouge foncé", "Marqueur 3 : bleu",
                                 "Marqueur 4 : vert", "Marqueur 5 : jaune clair", "Marqueur 6 : bleu clair",
                                 "Marqueur 7 : rose"};
    QWidget* card = f.main.get()->findChild<QWidget*>(QStringLiteral("FFrance4"), Qt::FindDirectChildrenOnly);
    for (int m = 1; m <= 7; ++m) {
        auto* square = child<QAbstractButton>(card, QStringLiteral("Label%1").arg(m + 5));
        ASSERT_NE(square, nullptr);
        EXPECT_EQ(square->accessibleName(), colours[m - 1]);
    }
    EXPECT_EQ(f.main->findChild<MapView*>()->pinNames(100, 100), QStringLiteral("DURAND Paul (Marqueur 3 : bleu)"));
}
