// The main window: start-up, menus, databases, the map, its browsers and zones, the search box, the keyboard;
// what a screen reader hears and the keyboard reaches in every window.
#include "core/base/path_text.h"
#include "core/base/paths.h"
#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "core/external/start_folders.h"
#include "core/external/start_up.h"
#include "core/map/map_zoom.h"
#include "core/map/pin_index.h"
#include "core/map/pins.h"
#include "gui/app/app_context.h"
#include "gui/app/database_chooser_window.h"
#include "gui/app/help_pages.h"
#include "gui/cards/creation_window.h"
#include "gui/exchange/csv_import_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui/map/default_map_drawing.h"
#include "gui/map/file_browser_window.h"
#include "gui/map/map_browser_window.h"
#include "gui/map/map_picture.h"
#include "gui/map/map_view.h"
#include "gui/map/zone_window.h"
#include "gui/sync/conflict_window.h"
#include "gui/widgets/card_form.h"
#include "gui/widgets/menu_builder.h"
#include "gui_fixture.h"
#include "support/other_program.h"
#include "write_failures.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

using namespace testing_support;

namespace {

TEST(MainWindow, StartsWithDefaultMapMenusAndScrolling)
{
    GuiFixture f;
    FFrance& w = *f.main;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tabulon"));
    EXPECT_EQ(w.mapImage().size(), QImage(f.program.file("frc.gif")).size());
    EXPECT_EQ(w.session().marker(), 3);
    EXPECT_EQ(readBytes(f.program.file("carte.txt")), (f.program.path() + "frc.gif\r\n").toUtf8());

    // The database menus wait for a database.
    for (const char* hidden : {"cartes", "clients", "Structure", "Tournèe", "RIB"})
        EXPECT_FALSE(f.action(QString::fromUtf8(hidden))->isVisible()) << hidden;

    // Before any database, map clicks and the entries that need one are refused.
    f.leftClickMap(10, 10);
    f.rightClickMap(10, 10);
    for (const char* name : {"ExportVcard", "ImportVcard", "ExportCsv", "ImportCsv", "Sauvegarde"})
        f.trigger(QString::fromLatin1(name));
    ASSERT_EQ(f.dialogs.messages.size(), 7);
    for (const auto& shown : f.dialogs.messages)
        EXPECT_EQ(shown.text, " Vous devez au préalable créer une nouvelle base de données ou ouvrir une base de "
                              "données existante !");
    EXPECT_TRUE(f.dialogs.modals.isEmpty());
    EXPECT_TRUE(f.dialogs.fileChoices.isEmpty());

    // "Affichage" starts the desktop's display settings where there are any, nothing elsewhere.
    f.trigger("Affichage");
    EXPECT_EQ(f.launcher.programs.size(), tb::displaySettingsCommand().isEmpty() ? 0 : 1);

    // A map smaller than the window sits top left without scrolling.
    auto* h = child<QScrollBar>(&w, "HScroll1");
    auto* v = child<QScrollBar>(&w, "VScroll1");
    QWidget* picture = child<QWidget>(&w, "PicImage");
    activate(&w);
    w.resize(1600, 1200);
    QCoreApplication::processEvents();
    EXPECT_EQ(h->maximum() + v->maximum(), 0);
    EXPECT_EQ(picture->pos(), QPoint(0, 0));
    w.resize(500, 400);
    QCoreApplication::processEvents();
    ASSERT_GT(h->maximum(), 0);
    h->setValue(100);
    v->setValue(50);
    EXPECT_EQ(picture->pos(), QPoint(-100, -50));
}

TEST(Databases, CreateAndOpenShowTheDatabaseAndRefuseBadNamesAndNonDatabases)
{
    // What a new database holds and which names are refused is checked in the core.
    GuiFixture f;
    f.trigger("Obase");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Aucune base de donnèes n'existe !"));
    f.dialogs.inputAnswers.enqueue(std::nullopt);  // cancelled
    f.trigger("Nbase");
    f.createDatabase("../ailleurs");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Erreur n° 52 : nom de fichier incorrect"));
    EXPECT_EQ(f.dialogs.messages.size(), 2);
    EXPECT_FALSE(f.main->session().hasDatabase());

    f.createDatabase("BasePerso");
    const QString made = f.program.path() + "BasePerso/";
    EXPECT_EQ(f.db(), made);
    EXPECT_EQ(f.main->windowTitle(), QStringLiteral("Tabulon : Dossier ") + made.chopped(1));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(" Vous pouvez maintenant conserver la carte affichée"));
    for (const char* shown : {"cartes", "clients", "Structure", "Tournèe"})
        EXPECT_TRUE(f.action(QString::fromUtf8(shown))->isVisible()) << shown;

    TempDatabase db(f.program.path(), "Clients");
    writeCards(db.path(), {makeCard("DURAND", "Paul", 3, 120, 45), makeCard("MARTIN", "Léa", 0, 300, 300)});
    writeBytes(db.file("StrFic.txt"), "\"a\"\r\n");
    writeBytes(f.program.file("dossier.txt"), "Clients\r\n");
    // "Valider" after a single click on a name keeps the chooser open.
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        ASSERT_TRUE(clickItem(w, "Dir1", "Clients"));
        click(child<QPushButton>(w, "Command1"));
        EXPECT_TRUE(w->isVisible());
        w->close();
    });
    f.trigger("Obase");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Vous n'avez pas sélectionné correctement la base de données : "
                                                      "faites un double-clic sur le nom !"));
    EXPECT_EQ(f.db(), made);

    // A garbled count: the correction (the core's) is said.
    writeBytes(db.file("NBFiches.dat"), "abc");
    f.openDatabase(db.path());
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Le nombre de fiches a été corrigé : 2 fiche(s)."));
    EXPECT_EQ(readBytes(db.file("StrFic.txt")), QByteArray("\"a\"\r\n"));  // a database with cards keeps its captions

    // An empty database takes the program folder's captions again.
    TempDatabase empty(f.program.path(), "Vide");
    writeBytes(empty.file("StrFic.txt"), "\"a\"\r\n");
    f.openDatabase(empty.path());
    EXPECT_EQ(readBytes(empty.file("StrFic.txt")), readBytes(f.program.file("StrFic.txt")));

    // One another Tabulon has open is refused and the open one stays (a folder holding no database is the core's).
    OtherProgram other(db.path());
    f.openDatabase(db.path());
    EXPECT_EQ(f.db(), empty.path());
    EXPECT_EQ(f.dialogs.lastMessage(), " Cette base de données est déjà ouverte par un autre programme Tabulon !");
}

TEST(MapClicks, RightClickProposesTheNextCardInTheLastActiveColour)
{
    // The left click's list is the map zoom test's; which cards a square holds is the core's.
    GuiFixture f;
    f.openWithCards({makeCard("B", "b", 3, 100, 100), makeCard("A", "a", 0, 100, 100), makeCard("C", "c", 2, 104, 96),
                     makeCard("D", "d", 1, 106, 100)});
    f.main->session().setMarker(0);  // an archived card was the last one shown
    f.rightClickMap(120, 45);
    auto* creation = f.shown<FFrance11>();
    ASSERT_NE(creation, nullptr);
    EXPECT_EQ(labelText(creation, "Label2"), QStringLiteral("5"));
    EXPECT_EQ(creation->findChild<CardFormWidget*>()->pin().text(),
              (QStringLiteral("3 120") + QString(17, u' ') + " 45").leftJustified(30));
    EXPECT_EQ(f.main->session().marker(), 3);
}

// The search box (which cards match is the core's).
TEST(SearchBoxWindow, TypedWordsListCardsAndReturnOrAClickOpensOne)
{
    GuiFixture f;
    f.openWithCards({makeCard("MARTIN", "Éloïse", 3, 10, 10, "17340", "CHÂTELAILLON-PLAGE"),
                     makeCard("DURAND", "Paul", 0, 20, 20, "17000", "LA ROCHELLE"),
                     makeCard("CHATELAIN", "Luc", 2, 30, 30, "33000", "BORDEAUX")});
    delete f.window<Ffrance29>();  // the database chooser, closed, would keep the keyboard
    activate(f.main.get());
    auto* box = child<QLineEdit>(f.main.get(), "Recherche");
    auto* list = child<CardListView>(f.main.get(), "SearchList");
    QTest::keyClick(f.main.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(box->hasFocus());

    typeText(box, "chatel");
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(rowNumbers(list), (QList<long long>{3, 1}));
    typeText(box, " plage");
    EXPECT_EQ(rowNumbers(list), QList<long long>{1});
    keyClick(box, Qt::Key_Return);
    ASSERT_NE(f.shown<FFrance4>(), nullptr);
    EXPECT_EQ(labelText(f.shown<FFrance4>(), "Label2"), "1");
    f.shown<FFrance4>()->hide();

    box->setText("rochelle");
    EXPECT_TRUE(rowTexts(list).value(0).endsWith("   (archivée)"));
    clickRow(list, 0);
    EXPECT_EQ(labelText(f.shown<FFrance4>(), "Label2"), "2");
    f.shown<FFrance4>()->hide();

    box->setText("introuvable");
    EXPECT_EQ(labelText(f.main.get(), "SearchCount"), "Aucune fiche ne contient ces mots.");
    keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_FALSE(list->isVisible());
}

// Everything by keyboard: F1, F10, the Ctrl keys (the Alt letters with every window's accessibility).
TEST(Keyboard, F1F10AndTheCtrlKeysInTheirWindows)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100)});
    activate(f.main.get());
    child<QWidget>(f.main.get(), "Recherche")->setFocus();  // even from the search box
    keyClick(f.main.get(), Qt::Key_F1);
    ASSERT_EQ(f.launcher.programs.size(), 1);
    EXPECT_TRUE(f.launcher.programs[0].program.endsWith(QStringLiteral("/tbaide")));
    EXPECT_EQ(f.launcher.programs[0].args, QStringList{QStringLiteral("fenetre-principale.html")});
    keyClick(f.main.get(), Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), f.main->findChild<QMenu*>(QStringLiteral("Fichier")));
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    f.dialogs.modalScripts.enqueue([](QWidget* w) { EXPECT_EQ(w->objectName(), QStringLiteral("Ffrance29")); });
    QTest::keyClick(f.main.get(), Qt::Key_O, Qt::ControlModifier);

    // The card opens on its first field. Modal as the program shows it, the main window's own keys are
    // blocked behind it.
    f.trigger("Voirlesfiches");
    auto* card = f.window<FFrance4>();
    activate(card);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(card, QStringLiteral("Text1(1)")));
    card->hide();
    card->setWindowModality(Qt::ApplicationModal);
    activate(card);
    QMenuBar* bar = card->findChild<QMenuBar*>();
    QString firstEntry;
    QTimer::singleShot(0, card, [&] {
        keyClick(QApplication::focusWidget(), Qt::Key_F1);
        keyClick(QApplication::focusWidget(), Qt::Key_F10);
        if (bar->activeAction())
            firstEntry = bar->activeAction()->objectName();
        card->close();
    });
    QEventLoop loop;
    QObject::connect(card, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(f.launcher.programs.size(), 2);
    EXPECT_EQ(f.launcher.programs[1].args, QStringList{QStringLiteral("fiche.html")});
    EXPECT_EQ(firstEntry, QStringLiteral("Feuillexls"));

    f.trigger("alpha");
    QWidget* list = f.dialogs.lastModal();
    activate(list);
    QTemporaryDir out;
    f.dialogs.printToPdf = out.filePath(QStringLiteral("liste.pdf"));
    QTest::keyClick(list, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(f.dialogs.printToPdf));
    list->close();
    activate(f.main.get());
    QTest::keyClick(f.main.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(f.main->isVisible());
}

TEST(Keyboard, ACaptionWithAnAmpersandShowsAsWrittenAndIsKeptAsWritten)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100)});
    tb::Database* db = f.main->session().database();
    QStringList captions = db->captions();
    captions[0] = QStringLiteral("Frais & débours");
    ASSERT_TRUE(db->setCaptions(captions));
    f.trigger("Fiche");
    QWidget* structure = f.dialogs.lastModal();
    EXPECT_EQ(labelText(structure, QStringLiteral("Label1(10)")), QStringLiteral("Frais && débours"));
    click(child<QPushButton>(structure, QStringLiteral("Command1")));
    EXPECT_EQ(db->captions().value(0), QStringLiteral("Frais & débours"));
    f.trigger("Voirlesfiches");
    EXPECT_EQ(labelText(f.dialogs.lastModal(), QStringLiteral("Label1(10)")), QStringLiteral("Frais && débours"));
}

// What a screen reader hears and the keyboard reaches in every window: controls named by their caption,
// values heard, an Alt letter of its own for each button and menu entry, a page of the guide whose files exist.

// The main window first, then each other window once, opened as a user opens them, on a database of one card
// with a debt and an e-mail address.
QList<QWidget*> openEveryWindow(GuiFixture& f)
{
    const CardRecord card = withFields(makeCard("DURAND", "Paul", 3, 100, 100), {{10, "paul@exemple.fr"}, {15, "1000"}});
    f.openWithCards({card});
    f.dialogs.modalScripts.enqueue([](QWidget*) {});
    f.trigger("Obase");
    f.trigger("alpha");
    f.trigger("Voirlesfiches");
    QWidget* cardWindow = f.dialogs.lastModal();
    for (const char* viewer : {"VoirTB3", "VoirTB1", "notesconf"})
        child<QAction>(cardWindow, viewer)->trigger();
    for (const char* journal : {"Command1", "Command4", "Command5"})
        child<QPushButton>(cardWindow, journal)->click();
    f.rightClickMap(300, 300);
    f.dialogs.modalScripts.enqueue([](QWidget*) {});
    child<QAction>(f.dialogs.lastModal(), "photo")->trigger();
    for (const char* entry : {"cartes", "Rechcp", "cvt", "RIB", "iban", "calendrier", "LogTrtExcel", "LogExtActuels",
                              "Fiche", "Tournèe", "Corbeille", "mail", "Rappels", "LettresTypes", "Debiteurs"})
        f.trigger(QString::fromUtf8(entry));
    f.trigger("Expediteur");
    f.trigger("Synchro");
    f.trigger("alpha");
    for (const char* entry : {"SelEtiquettes", "SelEnveloppes"})
        child<QAction>(f.window<FFrance3>(), entry)->trigger();

    // The import's windows, as an import shows them.
    AppContext ctx{f.main->session(), f.dialogs, f.launcher};
    auto* csv = new FImportCsv(ctx, f.main.get());
    csv->setFile(QStringLiteral("contacts.csv"), "Nom,Ville\nDUPONT,Lyon\n", f.main->session().database()->captions());
    auto* duplicate = new FDoublon(ctx, f.main.get());
    duplicate->setCards(card, 1, card);
    auto* report = new FRapportImport(ctx, f.main.get());
    report->setReport(QStringLiteral("1 fiche créée."), {QStringLiteral("DUPONT : ville reprise")});
    // The sync's conflict, as a sync shows it.
    auto* conflict = new FConflits(ctx, f.main.get());
    conflict->setConflict({1, card, withFields(card, {{7, "LYON"}})}, tb::exchangeCaptions(f.main->session().database()->captions()));
    for (QWidget* w : {static_cast<QWidget*>(csv), static_cast<QWidget*>(duplicate), static_cast<QWidget*>(report),
                       static_cast<QWidget*>(conflict)})
        f.dialogs.showModal(w);

    QList<QWidget*> all = {f.main.get()};
    for (const auto& list : {f.dialogs.modals, f.dialogs.modeless})
        for (QWidget* w : list)
            if (w && !all.contains(w))
                all << w;
    return all;
}

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

// The zoomed map: clicks in whole map pixels, the zoom kept, the hint.

class MapZoomTest : public ::testing::Test {
protected:
    GuiFixture f;
    QString db;
    MapPicture* picture = nullptr;

    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 200, 150), makeCard("ARNAUD", "Zoé", 2, 400, 300)});
        picture = child<MapPicture>(f.main.get(), "PicImage");
        ASSERT_NE(picture, nullptr);
    }

    // The zoom typed into the status bar's control.
    void typeZoom(const QString& text)
    {
        auto* combo = child<QComboBox>(f.main.get(), "Zoom");
        combo->setEditText(text);
        emit combo->textActivated(text);
    }

    // A press on the zoomed picture at map point (x, y) plus a fraction of a map pixel.
    void press(Qt::MouseButton button, double x, double y)
    {
        const double z = picture->zoom();
        const QPointF at(x * z + 0.9 * z * 0.5, y * z + 0.9 * z * 0.5);
        QMouseEvent move(QEvent::MouseMove, at, picture->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &move);
        QMouseEvent e(QEvent::MouseButtonPress, at, picture->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(picture, &e);
    }

    QList<long long> listedAt(double x, double y)
    {
        press(Qt::LeftButton, x, y);
        auto* list = f.shown<FFrance3>();
        return list ? rowNumbers(child<CardListView>(list, "List1")) : QList<long long>{-1};
    }
};

TEST_F(MapZoomTest, HitTestAndCreationGiveTheSamePositionsAtEveryZoom)
{
    for (const QString& zoom : {QStringLiteral("25 %"), QStringLiteral("337 %")}) {
        SCOPED_TRACE(zoom.toStdString());
        typeZoom(zoom);
        EXPECT_EQ(qRound(picture->zoom() * 100), zoom.left(zoom.size() - 2).toInt());
        // The pin's square: less than 6 map pixels on each axis (the square is the core's).
        EXPECT_EQ(listedAt(205, 145), QList<long long>{1});
        EXPECT_TRUE(listedAt(206, 150).isEmpty());

        press(Qt::RightButton, 123, 77);
        ASSERT_NE(f.shown<FFrance11>(), nullptr);
        EXPECT_EQ(f.shown<FFrance11>()->findChild<CardFormWidget*>()->pin().text(),
                  ("3" + tb::positionText(123, 77)).leftJustified(30));
    }
    // A card made at 337 % holds the position it would have at 100 %.
    click(child<QPushButton>(f.dialogs.lastModal(), "Command3"));
    EXPECT_EQ(f.main->session().database()->count(), 3);
    EXPECT_EQ(readBytes(db + "lesfiches.dat").mid(2 * 630, 30),
              ("3" + tb::positionText(123, 77)).leftJustified(30).toLatin1());
}

TEST_F(MapZoomTest, KeysWheelAndControlChangeTheZoomWhichTheDatabaseKeepsOrSaysWhyNot)
{
    delete f.window<Ffrance29>();  // closed, it would keep the keyboard
    activate(f.main.get());
    QTest::keyClick(f.main.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.25);
    EXPECT_EQ(readBytes(db + "zoom.txt"), "125\r\n");
    QTest::keyClick(f.main.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(f.main.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(picture->zoom(), 0.75);
    QTest::keyClick(f.main.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.0);

    // Ctrl + wheel keeps the map point under the pointer in place.
    const QPointF at(150, 120);
    const QPoint mapBefore = tb::mapPixelAt(at, picture->zoom());
    const QPoint onView = picture->mapToParent(at.toPoint());
    QWheelEvent up(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &up);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.25);
    // The pointer has not moved on the view: the same map point is under it.
    EXPECT_LE((tb::mapPixelAt(QPointF(picture->mapFromParent(onView)), 1.25) - mapBefore).manhattanLength(), 2);
    QWheelEvent plain(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &plain);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.25);

    typeZoom("Ajuster à la fenêtre");
    EXPECT_TRUE(picture->fitsView());
    EXPECT_EQ(readBytes(db + "zoom.txt"), "ajuster\r\n");
    typeZoom("337");
    EXPECT_EQ(readBytes(db + "zoom.txt"), "337\r\n");

    // Opened again, the database shows its zoom; a bad file gives 100 %.
    f.openDatabase(db);
    EXPECT_DOUBLE_EQ(picture->zoom(), 3.37);
    writeBytes(db + "zoom.txt", "beaucoup");
    f.openDatabase(db);
    EXPECT_DOUBLE_EQ(picture->zoom(), 1.0);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // A zoom that cannot be written (as on a full disk) is told once, and the zoom still changes.
    QFile::remove(db + "zoom.txt");
    EXPECT_TRUE(underFileSizeLimit(0, [&] {
        typeZoom("200 %");
        typeZoom("300 %");
        return picture->zoom() == 3.0 && f.dialogs.messages.size() == 1
               && f.dialogs.lastMessage().startsWith("Erreur n° 61") && !QFile::exists(db + "zoom.txt");
    }));
}

TEST(MapHint, ANewDatabaseShowsTheWholeMapAndTheLineUnderItUntilTheFirstCardExists)
{
    GuiFixture f;
    auto* hint = child<QLabel>(f.main.get(), "MapHint");
    EXPECT_EQ(hint->text(), " Pour commencer : menu « Fichier », créez une base de données ou ouvrez-en une.");
    f.main->resize(700, 500);
    f.createDatabase();
    // The whole map in view (which zoom opens is the core's), nothing written until a zoom is chosen.
    EXPECT_TRUE(child<MapPicture>(f.main.get(), "PicImage")->fitsView());
    EXPECT_EQ(child<QComboBox>(f.main.get(), "Zoom")->currentText(), "Ajuster à la fenêtre");
    EXPECT_FALSE(QFile::exists(f.db() + "zoom.txt"));
    EXPECT_EQ(hint->text(), " Clic droit sur la carte : créer une fiche. Clic gauche près d'une épingle : voir les "
                            "fiches de cet endroit.");
    EXPECT_FALSE(hint->isHidden());
    ASSERT_TRUE(f.main->session().database()->createCard(makeCard("PREMIER", "Paul", 3, 50, 50)).ok());
    EXPECT_TRUE(hint->isHidden());
}

// The default map's drawing: the picture at 100 %, sharp above it, its numbers over the pins.

// Anti-aliasing of borders and numbers differs between the renderer that made
// the picture and Qt's: a pixel matches within this distance in RGB (of 441).
constexpr double kTolerance = 40.0;
const QColor kNumberColour(0x3c, 0x2c, 0x20);

double distance(QRgb a, QRgb b)
{
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return std::sqrt(double(r * r + g * g + bl * bl));
}

// The share of pixels of a that match b within the tolerance.
double matching(const QImage& a, const QImage& b)
{
    long long same = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            same += distance(a.pixel(x, y), b.pixel(x, y)) <= kTolerance;
    return double(same) / (double(a.width()) * a.height());
}

// The picture once its drawing is made.
QImage settled(MapPicture& picture, const QRect& area)
{
    picture.grab(area);
    while (picture.drawingPending())
        QCoreApplication::processEvents();
    return picture.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

long long numberPixels(const QImage& image)
{
    long long n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += distance(image.pixel(x, y), kNumberColour.rgb()) < 12;
    return n;
}

TEST(SharpDefaultMap, DrawingAtFullSizeMatchesThePictureAndOnlyTheDefaultMapHasOne)
{
    const QImage picture = QImage(dataDir() + "frc.gif").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(900, 860));
    const auto drawing = DefaultMapDrawing::forMap(dataDir() + "frc.gif");
    ASSERT_TRUE(drawing);
    QImage drawn(picture.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    drawing->drawGround(drawn, drawn.rect(), 1.0);
    drawing->drawNumbers(drawn, drawn.rect(), 1.0);
    EXPECT_GE(matching(drawn, picture), 0.99);

    // Another map, or the default map without its drawing beside it, stays a picture.
    QTemporaryDir dir;
    writeBytes(dir.path() + "/frc.gif", readBytes(dataDir() + "frc.gif"));
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/frc.gif"));
    writeBytes(dir.path() + "/frc.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"9\" height=\"9\"/></svg>");
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/frc.gif"));
    writeBytes(dir.path() + "/plan.gif", readBytes(dataDir() + "frc.gif"));
    writeBytes(dir.path() + "/plan.svg", readBytes(dataDir() + "frc.svg"));
    EXPECT_FALSE(DefaultMapDrawing::forMap(dir.path() + "/plan.gif"));
}

TEST(SharpDefaultMap, ZoomedPictureIsTheDrawingInPlaceWithItsNumbersOverCrowdedPins)
{
    const QImage gif(dataDir() + "frc.gif");
    QWidget view;
    view.resize(900 * 4, 860 * 4);
    MapPicture picture(&view);
    picture.setDrawing(DefaultMapDrawing::forMap(dataDir() + "frc.gif"));
    picture.setImage(&gif);
    // A dark grey pin (marker 1) on every third pixel: nothing of the map shows between them but the numbers.
    std::vector<tb::Pin> pins;
    for (int y = 0; y < 860; y += 3)
        for (int x = 0; x < 900; x += 3)
            pins.push_back({float(x), float(y), 1});
    picture.setPins(pins);
    const long long shownAtFull = numberPixels(settled(picture, picture.rect()));
    EXPECT_GT(shownAtFull, 1500);

    // Zoomed, the picture shows at once, its drawing follows between events.
    picture.setZoom(4.0);
    ASSERT_EQ(picture.size(), QSize(3600, 3440));
    const QRect seen(1200, 1600, 800, 800);
    picture.grab(seen);
    EXPECT_TRUE(picture.drawingPending());
    const QImage zoomed = settled(picture, seen);
    EXPECT_GT(numberPixels(zoomed), 2000);

    // Without pins the zoomed drawing lies on the picture enlarged: same places, same colours.
    picture.setPins({});
    const QImage ground = settled(picture, seen);
    const QImage enlarged = gif.convertToFormat(QImage::Format_RGB32).copy(300, 400, 200, 200).scaled(800, 800);
    // (The picture's one-pixel borders become four-pixel blocks there.)
    EXPECT_GE(matching(ground, enlarged), 0.95);

    // The same pins on another map hide its numbers.
    MapPicture plain(&view);
    plain.setImage(&gif);
    plain.setPins(std::move(pins));
    EXPECT_LT(numberPixels(settled(plain, plain.rect())), shownAtFull / 10);
}

// The map browser ("Cartes & Plans") and the file browser, reached through the menus.

// A database in use and a folder of pictures and documents to choose from.
class Browsers : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = f.openWithCards({makeCard("DURAND", "Paul", 2, 50, 40)});
        QDir().mkpath(pictures + "Cartes");
        const QImage image = filledImage({400, 300}, Qt::darkGreen);
        for (const char* name : {"vacances.jpg", "image.jpeg", "PLAGE.JPG"})
            ASSERT_TRUE(image.save(pictures + name, "JPG"));
        ASSERT_TRUE(image.scaled(100, 50).save(pictures + "Cartes/plan.bmp", "BMP"));
        writeBytes(pictures + "faux.jpg", "ceci n'est pas une image\r\n");
        writeBytes(pictures + "lettre.txt", "Ch\xE8re Madame,\r\nBien \xE0 vous.\r\n");
    }
    // Opens the map browser through "Cartes & Plans"; script drives it.
    FFrance22* mapBrowser(std::function<void(FFrance22*)> script)
    {
        f.dialogs.modalScripts.enqueue([script](QWidget* w) { script(qobject_cast<FFrance22*>(w)); });
        return f.open<FFrance22>("cartes");
    }
    static void chooseFile(QWidget* w, const QString& name) { ASSERT_TRUE(clickItem(w, "File1", name)); }
    static QStringList files(QWidget* w) { return rowTexts(child<QListWidget>(w, "File1")); }

    GuiFixture f;
    QString db;
    QTemporaryDir tmp;
    QString pictures = tmp.path() + "/Mes images/";
};

TEST_F(Browsers, TheMapBrowserWalksFoldersAndChargerStoresTheChosenMapWhateverItsName)
{
    const QByteArray before = readBytes(db + "carte.txt");
    const QString path = pictures + "Cartes/plan.bmp";
    FFrance22* b = mapBrowser([&](FFrance22* b) {
        EXPECT_EQ(labelText(b, "TxtChemin"), f.program.path());
        click(child<QPushButton>(b, "Command1"));  // nothing chosen: nothing stored
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(readBytes(db + "carte.txt"), before);

        // The pattern matches any case; a double-click opens a folder; ".." goes up.
        ASSERT_TRUE(b->openFolder(pictures));
        EXPECT_EQ(files(b), QStringList({"faux.jpg", "PLAGE.JPG", "vacances.jpg"}));
        ASSERT_TRUE(clickItem(b, "Dir1", "Cartes", true));
        EXPECT_EQ(labelText(b, "TxtChemin"), pictures + "Cartes/");
        ASSERT_TRUE(clickItem(b, "Dir1", "..", true));
        EXPECT_EQ(labelText(b, "TxtChemin"), pictures);
        // The preview (which pictures load is the core's).
        chooseFile(b, "vacances.jpg");
        EXPECT_FALSE(child<QLabel>(b, "Picture1")->pixmap().isNull());
        // At the root the path keeps a single "/"; a missing folder changes nothing.
        ASSERT_TRUE(b->openFolder("/"));
        EXPECT_TRUE(child<QListWidget>(b, "Dir1")->findItems("..", Qt::MatchExactly).isEmpty());
        b->clickFile("plan.gif");
        EXPECT_EQ(labelText(b, "Label1"), "/plan.gif");
        EXPECT_FALSE(b->openFolder(pictures + "absent"));
        EXPECT_EQ(labelText(b, "TxtChemin"), "/");

        ASSERT_TRUE(b->openFolder(pictures + "Cartes"));
        chooseFile(b, "plan.bmp");
        keyClick(child<QListWidget>(b, "File1"), Qt::Key_Return);  // as "Charger"
    });
    EXPECT_EQ(readBytes(db + "carte.txt"), tb::encodePathValue(path) + "\r\n");
    EXPECT_EQ(f.main->mapImage().size(), QSize(100, 50));
    EXPECT_EQ(f.main->mapImage().pixelColor(44, 40), QColor(192, 0, 0));  // the pin on the new map
    ASSERT_NE(b, nullptr);
    // Hidden, not closed: the same window next time; closed without a choice, the map stays.
    EXPECT_EQ(mapBrowser([](FFrance22* b) { b->close(); }), b);
    EXPECT_EQ(f.main->mapImage().size(), QSize(100, 50));

    // An unreadable map leaves the program usable (how a path outside the code page is kept is the core's).
    writeBytes(db + "carte.txt", (db + "carte.gif\r\n").toUtf8());
    writeBytes(db + "carte.gif", "pas une image");
    f.openDatabase(db);
    EXPECT_TRUE(f.main->mapImage().isNull());
    EXPECT_EQ(f.main->session().database()->count(), 1);
    // The empty picture is 17 pixels wide: the click lands on it.
    f.leftClickMap(10, 10);
    EXPECT_NE(f.shown<FFrance3>(), nullptr);
}

TEST_F(Browsers, FileBrowserCopiesTheChosenFileUnderTheTargetName)
{
    f.rightClickMap(50, 50);
    auto* creation = f.shown<FFrance11>();
    ASSERT_NE(creation, nullptr);
    const QStringList before = QDir(db).entryList(QDir::Files);
    Ffrance23* b = nullptr;
    f.dialogs.modalScripts.enqueue([&](QWidget* w) {
        b = qobject_cast<Ffrance23*>(w);
        ASSERT_NE(b, nullptr);
        auto* save = child<QPushButton>(b, "Command1");
        click(save);  // nothing chosen yet: nothing happens
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(QDir(db).entryList(QDir::Files), before);
        ASSERT_TRUE(b->openFolder(pictures));
        EXPECT_EQ(files(b), QStringList({"faux.jpg", "image.jpeg", "PLAGE.JPG", "vacances.jpg"}));
        chooseFile(b, "vacances.jpg");
        EXPECT_EQ(child<QLineEdit>(b, "Text1")->text(), db + "photo2.jpg");
        click(save);
    });
    child<QAction>(creation, "photo")->trigger();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_FALSE(b->isVisible());

    // Next time: the same window, the earlier choice forgotten, a text preview (the names and previews are the
    // core's); texts start in the documents folder.
    b->prepare("*.txt;*.jpeg", true, "DtxtA12");
    f.dialogs.showModal(b);
    EXPECT_EQ(labelText(b, "TxtChemin"), tb::folderText(tb::documentsFolder()));
    ASSERT_TRUE(b->openFolder(pictures));
    EXPECT_TRUE(child<QLineEdit>(b, "Text1")->text().isEmpty());
    chooseFile(b, "lettre.txt");
    EXPECT_EQ(child<QPlainTextEdit>(b, "TextRech")->toPlainText(), QString::fromUtf8("Chère Madame,\nBien à vous.\n"));
    EXPECT_EQ(child<QLineEdit>(b, "Text1")->text(), db + "DtxtA12.txt");

    // A copy that cannot be made is said, and the browser stays open.
    ASSERT_TRUE(QDir(db).mkdir("DtxtA12.txt"));
    click(child<QPushButton>(b, "Command1"));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith("Erreur n° 75")) << f.dialogs.lastMessage().toStdString();
    EXPECT_TRUE(b->isVisible());
    b->close();
}

// The zone window: its map, a zone of two corners, the cards listed in it.

class ZoneWindowTest : public ::testing::Test {
protected:
    GuiFixture f;
    Ffrance28* w = nullptr;

    void SetUp() override
    {
        f.openWithCards({
            makeCard("DEDANS", "a", 3, 150, 150),   // 1 inside
            makeCard("BORD", "b", 1, 100, 150),     // 2 on the left bound
            makeCard("ARCHIVE", "c", 0, 160, 160),  // 3 archived, inside
            makeCard("AUSSI", "d", 2, 250, 120),    // 4 inside
            makeCard("LOIN", "e", 4, 400, 300),     // 5 outside
        });
        w = open();
    }
    Ffrance28* open() { return f.open<Ffrance28>(QString::fromUtf8("Tournèe")); }
    MapPicture* picture() const { return child<MapPicture>(w, "PicImage"); }
    QImage zoneMap() const { return child<MapView>(w, QString())->image(); }
    void press(Qt::MouseButton button, int x, int y) { QTest::mousePress(picture(), button, {}, QPoint(x, y)); }
    void corners(int x1, int y1, int x2, int y2)
    {
        press(Qt::LeftButton, x1, y1);
        press(Qt::LeftButton, x2, y2);
    }
    // A right click on the zone map: the list window's card numbers.
    QList<long long> listed()
    {
        const qsizetype before = f.dialogs.modals.size();
        press(Qt::RightButton, 10, 10);
        EXPECT_EQ(f.dialogs.modals.size(), before + 1);
        auto* list = f.shown<FFrance3>();
        return list ? rowNumbers(child<CardListView>(list, "List1")) : QList<long long>{-1};
    }
    QString hint() const { return labelText(w, "Consigne"); }
    void menu(const char* name) { w->findChild<QAction*>(QString::fromUtf8(name))->trigger(); }
};

TEST_F(ZoneWindowTest, TwoCornersListTheActiveCardsInsideAndTheMenuKeepsOrErasesTheZone)
{
    // Its own map, with the pins of the main one.
    EXPECT_EQ(zoneMap().size(), f.main->mapImage().size());
    EXPECT_EQ(zoneMap().pixelColor(144, 150), tb::pinColor(3));
    // Corners in any order (which cards a zone holds is the core's).
    corners(300, 200, 100, 100);
    EXPECT_TRUE(hint().startsWith(QStringLiteral("Zone de 300, 200")));  // the hints are the core's
    EXPECT_EQ(listed(), (QList<long long>{1, 4}));
    // Drawn on the zone map only.
    EXPECT_EQ(picture()->grab().toImage().pixelColor(303, 200), QColor(192, 0, 0));
    EXPECT_NE(f.main->mapImage().pixelColor(303, 200), QColor(192, 0, 0));

    // The caption blinks (the tooltip's text is the core's).
    auto* caption = child<QLabel>(w, "Label6");
    const bool hidden = caption->isHidden();
    QMetaObject::invokeMethod(child<QTimer>(w, "Timer1"), "timeout");
    EXPECT_EQ(caption->isHidden(), !hidden);

    // "Retour au menu principal" ends the real modal loop: hidden, and the next opening shows the same zone.
    QList<long long> seen;
    runInRealModalLoop(w, [&] {
        seen = listed();
        menu("retourmenu");
    });
    EXPECT_EQ(seen, (QList<long long>{1, 4}));
    EXPECT_EQ(open(), w);
    EXPECT_EQ(listed(), (QList<long long>{1, 4}));
    // "Effacer la zone": no figure, nothing listed.
    menu("Effacer");
    EXPECT_NE(picture()->grab().toImage().pixelColor(97, 100), QColor(192, 0, 0));
    EXPECT_EQ(listed(), QList<long long>{});

    // The close box forgets the zone: a new window, without it.
    EXPECT_TRUE(closeAndDelete(w));
    w = open();
    EXPECT_EQ(listed(), QList<long long>{});
}

TEST_F(ZoneWindowTest, PinsOfEveryChangeOfCardsAppearOnBothMaps)
{
    tb::Database* db = f.main->session().database();
    const auto pinOn = [&](int x, int y, QColor colour) {
        return int(f.main->mapImage().pixelColor(x - 6, y) == colour) + int(zoneMap().pixelColor(x - 6, y) == colour);
    };
    // Store: card 5 moves.
    ASSERT_TRUE(db->storeCard(5, makeCard("LOIN", "e", 4, 200, 250)));
    EXPECT_EQ(pinOn(200, 250, tb::pinColor(4)), 2);
    EXPECT_EQ(pinOn(400, 300, tb::pinColor(4)), 0);
    // A new card, then an archived one: the zone lists what the maps show.
    ASSERT_TRUE(db->createCard(makeCard("NOUVEAU", "f", 7, 220, 60)));
    EXPECT_EQ(pinOn(220, 60, tb::pinColor(7)), 2);
    ASSERT_TRUE(db->setArchived(4, true));
    EXPECT_EQ(pinOn(250, 120, tb::pinColor(2)), 0);
    corners(100, 50, 300, 200);
    EXPECT_EQ(listed(), (QList<long long>{1, 6}));
    // Deletion (which card takes the number is the core's).
    ASSERT_TRUE(db->deleteCard(1));
    EXPECT_EQ(pinOn(150, 150, tb::pinColor(3)), 0);
    EXPECT_EQ(listed(), (QList<long long>{1}));
    // A new map chosen for the database: both views show it, the zone stays.
    ASSERT_TRUE(filledImage({400, 300}, Qt::white).save(f.program.file("plan.bmp")));
    ASSERT_TRUE(db->setMapPath(f.program.file("plan.bmp")));
    EXPECT_EQ(zoneMap().size(), QSize(400, 300));
    EXPECT_EQ(listed(), (QList<long long>{1}));
    // Another database: its own pins, and no zone from the one before.
    f.openWithCards({makeCard("AUTRE", "g", 5, 180, 140)}, QStringLiteral("Autres"));
    EXPECT_EQ(pinOn(180, 140, tb::pinColor(5)), 2);
    EXPECT_EQ(pinOn(220, 60, tb::pinColor(7)), 0);
    EXPECT_EQ(listed(), QList<long long>{});
}

}  // namespace
