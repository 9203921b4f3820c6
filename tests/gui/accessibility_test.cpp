// What a screen reader hears and the keyboard reaches in every window: controls named by their caption,
// values heard, an Alt letter of its own for each button and menu entry, a page of the guide whose files exist.
#include "every_window.h"
#include "gui/app/help_pages.h"
#include "gui/map/map_view.h"
#include "gui/widgets/menu_builder.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

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

QString letterOf(const QString& text) { return QKeySequence::mnemonic(text).toString(); }

// The calendar's own controls (its months) and the zoom's "−" and "+" have no letter to give.
bool letterless(const QWidget* w, const QString& text)
{
    for (; w; w = w->parentWidget())
        if (w->inherits("QCalendarWidget"))
            return true;
    return !std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// The texts of window that share an Alt letter or have none.
QStringList clashes(QWidget* window)
{
    QStringList wrong;
    QStringList taken;
    const auto check = [&](const QString& text, QStringList& letters) {
        const QString letter = letterOf(text);
        if (letter.isEmpty() || letters.contains(letter))
            wrong << text;
        letters << letter;
    };
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        if (bar->window() == window)
            for (QAction* a : bar->actions())
                check(a->text(), taken);
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->window() == window && !letterless(b, b->text()))
            check(b->text(), taken);
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        if (!menu->parentWidget() || menu->parentWidget()->window() != window || letterless(menu->parentWidget(), {}))
            continue;
        QStringList inMenu;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                check(a->text(), inMenu);
    }
    return wrong;
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

TEST(Accessibility, EveryWindowIsNamedHeardReachedByItsLettersAndHasItsPageInTheGuide)
{
    GuiFixture f;
    const QList<QWidget*> windows = openEveryWindow(f);
    EXPECT_GE(windows.size(), 24);
    const QDir help(QStringLiteral(TABULON_DATA_DIR "/help"));
    for (QWidget* w : windows) {
        SCOPED_TRACE(w->objectName().toStdString());
        activate(w);
        EXPECT_FALSE(w->windowTitle().isEmpty());
        QStringList wrong;
        walk(QAccessible::queryAccessibleInterface(w), wrong);
        EXPECT_EQ(wrong.join(QStringLiteral(" | ")).toStdString(), "");
        EXPECT_EQ(clashes(w).join(QStringLiteral(" | ")).toStdString(), "");
        EXPECT_TRUE(!helpPageOf(w).isEmpty() && help.exists(helpPageOf(w))) << helpPageOf(w).toStdString();
    }
    // The colour squares are buttons named by marker and colour; a pin's tip says its colour too.
    QWidget* card = f.main.get()->findChild<QWidget*>(QStringLiteral("FFrance4"), Qt::FindDirectChildrenOnly);
    for (int m : {1, 7})
        EXPECT_EQ(child<QAbstractButton>(card, QStringLiteral("Label%1").arg(m + 5))->accessibleName(),
                  m == 1 ? "Marqueur 1 : gris foncé" : "Marqueur 7 : rose");
    EXPECT_EQ(f.main->findChild<MapView*>()->pinNames(100, 100), QStringLiteral("DURAND Paul (Marqueur 3 : bleu)"));
}

// The guide F1 opens (each window's page is checked with every window's accessibility): every
// picture and page named there present.
TEST(Guide, EveryPictureAndLinkOfEveryPageExists)
{
    const QDir help(QStringLiteral(TABULON_DATA_DIR "/help"));
    const QRegularExpression named(QStringLiteral("(?:src|href)=\"([^\"#:]+)[\"#]"));
    const QStringList pages = help.entryList({QStringLiteral("*.html")});
    EXPECT_GE(pages.size(), 30);
    for (const QString& page : pages) {
        QFile file(help.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : named.globalMatch(html))
            EXPECT_TRUE(help.exists(m.captured(1))) << page.toStdString() << " names " << m.captured(1).toStdString();
    }
}

// Every window inside the smallest screens the program is made for (set before it starts).
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
