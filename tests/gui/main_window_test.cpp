// The main window: start-up, menus, databases, map clicks, the search box, the keyboard; what a screen reader
// hears and the keyboard reaches in every window.
#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "core/external/start_up.h"
#include "gui/app/app_context.h"
#include "gui/app/database_chooser_window.h"
#include "gui/app/help_pages.h"
#include "gui/cards/creation_window.h"
#include "gui/exchange/csv_import_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui/map/map_picture.h"
#include "gui/map/map_view.h"
#include "gui/sync/conflict_window.h"
#include "gui/widgets/card_form.h"
#include "gui/widgets/menu_builder.h"
#include "gui_fixture.h"
#include "support/other_program.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

using namespace testing_support;

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
namespace {

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
