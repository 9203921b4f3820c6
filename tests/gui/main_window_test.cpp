// The main window: start-up, menus, databases, map clicks, the search box, the keyboard.
#include "core/external/start_up.h"
#include "gui/app/database_chooser_window.h"
#include "gui/cards/creation_window.h"
#include "gui/map/map_picture.h"
#include "gui/widgets/card_form.h"
#include "gui_fixture.h"
#include "support/other_program.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTimer>

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
    EXPECT_EQ(f.db(), db.path());
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Le nombre de fiches a été corrigé : 2 fiche(s)."));
    EXPECT_EQ(f.main->session().database()->count(), 2);
    EXPECT_EQ(readBytes(db.file("StrFic.txt")), QByteArray("\"a\"\r\n"));  // a database with cards keeps its captions

    // An empty database takes the program folder's captions again.
    TempDatabase empty(f.program.path(), "Vide");
    writeBytes(empty.file("StrFic.txt"), "\"a\"\r\n");
    f.openDatabase(empty.path());
    EXPECT_EQ(readBytes(empty.file("StrFic.txt")), readBytes(f.program.file("StrFic.txt")));

    // A folder holding no database, or one another Tabulon has open, is refused and the open one stays.
    QDir(f.program.path()).mkdir("Vrac");
    f.openDatabase(f.program.path() + "Vrac/");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !"));
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
