// The main window: start-up, menus, databases, map clicks, map choice.
#include "gui/app/database_chooser_window.h"
#include "gui/app/main_window.h"
#include "gui/cards/creation_window.h"
#include "gui_fixture.h"
#include "gui/lists/list_window.h"
#include "gui/map/map_browser_window.h"
#include "gui/map/map_picture.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

QAction* action(FFrance& w, const char* name)
{
    for (QAction* a : w.findChildren<QAction*>())
        if (a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
}

QString caption(QAction* a)
{
    return a ? a->text().replace(QStringLiteral("&&"), QStringLiteral("&")) : QStringLiteral("<absent>");
}

}  // namespace

TEST(MainWindow, StartsWithDefaultMapAndMenuTree)
{
    GuiFixture f;
    FFrance& w = *f.main;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tabulon"));
    EXPECT_FALSE(w.mapImage().isNull());
    EXPECT_EQ(w.values().Label2, f.program.path());
    EXPECT_EQ(w.values().Label200, f.program.path() + "frc.gif");
    EXPECT_EQ(w.values().Label10, QStringLiteral("3"));
    EXPECT_EQ(readBytes(f.program.file("carte.txt")), (f.program.path() + "frc.gif\r\n").toUtf8());

    const std::pair<const char*, const char*> captions[] = {
        {"Fichier", "Fichier"}, {"Nbase", "Création d'une nouvelle base de données"},
        {"Obase", "Ouvrir une base de données existante"}, {"quitter", "Quitter"}, {"cartes", "Cartes & Plans"},
        {"clients", "Base de données"}, {"Voirlesfiches", "Voir, modifier, archiver les fiches"},
        {"listclients", "Listes des fiches"}, {"alpha", "Classement alphabétique"},
        {"villes", "Classement par villes"}, {"CPostaux", "Classement par codes postaux"},
        {"recherches", "Recherches"}, {"Rechnom", "Recherche par le nom"},
        {"Rechcp1", "Recherche par le code postal"}, {"Rechloc", "Recherche par la localité"},
        {"Rechtelf", "Recherche par le n° de téléphone fixe"},
        {"rechtelp", "Recherche par le n° de téléphone portable"}, {"FicArch", "Fiches archivées"},
        {"octets", "Nombre de fiches"}, {"Adresses", "Adresses avec traitement de texte"},
        {"mail", "Adresses E-mail"}, {"FicExport", "Fichier \"EXPORT\""},
        {"export", "Création du fichier \"EXPORT\" sous forme d'un fichier texte"},
        {"AppelGE", "Appel du gestionnaire externe de bases de données"},
        {"AppelMDB", "Pour les utilisateurs de Microsof Access : Appel de TABulon.mdb"}, {"Structure", "Structure"},
        {"Fiche", "Fiche"}, {"MExel", "Maquette \"EXCEL\""}, {"MNote", "Maquette \"Note confidentielle\""},
        {"Tournèe", "Définition de zones"}, {"Outils", "Accessoires"},
        {"Rechcp", "Recherche d'une ville par son code postal"},
        {"RechparVille", "Recherche d'un Code postal  par le nom de la ville"}, {"accessoires", "Outils"},
        {"RIB", "Clé RIB"}, {"calendrier", "Calendrier"}, {"cvt", "Convertisseur Euros"}, {"Affichage", "Affichage"},
        {"LogExt", "Logiciels externes"}, {"RechLogExt", "Recherches des logiciels externes"},
        {"LogTrtExcel", "Logiciel traitement des feuilles EXCEL"}, {"LogTrtTxt", "Logiciel traitement de texte"},
        {"LogTrtImage", "Logiciel traitement de l'image"}, {"LogTrtBdd", "Logiciel traitement de bases de données"},
        {"LogAdrE", "Logiciel gestion carnet d'adresses électroniques"},
        {"scanner", "Logiciel permettant l'utilisation du scanner"},
        {"LogExtActuels", "Chemins des logiciels externes actuellement sélectionnés"}, {"toile", "Sur la toile"},
        {"utile", "Site utile"}, {"msg", "Envoyer un message électronique"}, {"aide", "Aide"},
    };
    for (const auto& [name, text] : captions)
        EXPECT_EQ(caption(action(w, name)), QString::fromUtf8(text)) << name;
    // The database menus wait for a database.
    for (const char* hidden : {"cartes", "clients", "Structure", "Tournèe", "RIB"})
        EXPECT_FALSE(action(w, hidden)->isVisible()) << hidden;
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // Before any database, map clicks are refused.
    w.mapLeftClick(10, 10);
    w.mapRightClick();
    ASSERT_EQ(f.dialogs.messages.size(), 2);
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Vous devez au préalable créer une nouvelle base de données ou "
                                                      "ouvrir une base de données existante !"));
    EXPECT_TRUE(f.dialogs.modals.isEmpty());

    // Program paths come from their one-line files; a missing file gives an empty path.
    writeBytes(f.program.file("LogExcel.txt"), "\"/usr/bin/localc\"\r\n");
    FFrance again(f.dialogs, f.program.path());
    EXPECT_EQ(again.values().Label101, QStringLiteral("/usr/bin/localc"));
    EXPECT_EQ(again.values().Label102, QString());
}

TEST(MainWindow, SmallMapSitsTopLeftWithoutScrolling)
{
    GuiFixture f;
    f.main->show();
    f.main->resize(1600, 1200);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.main->HScroll1->maximum(), 0);
    EXPECT_EQ(f.main->VScroll1->maximum(), 0);
    EXPECT_EQ(f.main->PicImage->pos(), QPoint(0, 0));
    f.main->resize(500, 400);
    QCoreApplication::processEvents();
    ASSERT_GT(f.main->HScroll1->maximum(), 0);
    f.main->HScroll1->setValue(100);
    f.main->VScroll1->setValue(50);
    EXPECT_EQ(f.main->PicImage->pos(), QPoint(-100, -50));
}

TEST(Databases, CreateCopiesTheTemplatesAndRefusesBadNames)
{
    GuiFixture f;
    f.dialogs.inputAnswers.enqueue(std::nullopt);  // cancelled
    f.main->createDatabase();
    f.createDatabase("");
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    f.createDatabase("../ailleurs");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Erreur n° 52"));
    EXPECT_FALSE(QFile::exists(f.program.file("dossier.txt")));
    EXPECT_FALSE(QDir(f.program.path() + "../ailleurs").exists());
    EXPECT_EQ(f.main->values().Label2, f.program.path());

    f.dialogs.messages.clear();
    f.createDatabase("BasePerso");
    const QString db = f.program.path() + "BasePerso/";
    EXPECT_EQ(f.main->values().Label2, db);
    EXPECT_EQ(f.main->windowTitle(), QStringLiteral("Tabulon : Dossier ") + f.program.path() + "BasePerso");
    EXPECT_EQ(QDir(db).entryList(QDir::Files, QDir::Name),
              QStringList({"F.txt", "F.xls", "I.txt", "M.txt", "NBFiches.dat", "R.txt", "StrFic.txt", "Tabulon.mdb",
                           "carte.txt"}));
    EXPECT_EQ(readBytes(f.program.file("dossier.txt")), QByteArray("BasePerso\r\n"));
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(" Vous pouvez maintenant conserver la carte affichée"));
    EXPECT_TRUE(f.dialogs.lastMessage().endsWith("en fonction de vos besoins  !"));
    EXPECT_EQ(f.dialogs.inputs.last().text,
              QStringLiteral("Bonjour, Saisissez le nom de la base de donnèes que vous souhaitez créer !"));
    EXPECT_EQ(f.dialogs.inputs.last().title, QStringLiteral("Nom de la base de donnèes à créer"));
    for (const char* shown : {"cartes", "clients", "Structure", "Tournèe"})
        EXPECT_TRUE(action(*f.main, shown)->isVisible()) << shown;

    // The same name again leaves the existing database untouched.
    writeBytes(db + "NBFiches.dat", "7\r\n");
    f.createDatabase("BasePerso");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Erreur n° 75 :  Ce nom existe déja, choisissez un autre nom ! "));
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), QByteArray("7\r\n"));
}

TEST(Databases, OpenShowsPinsRefreshesEmptyTemplatesAndRefusesNonDatabases)
{
    GuiFixture f;
    f.main->openDatabase();
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Aucune base de donnèes n'existe !"));

    TempDatabase db(f.program.path(), "Clients");
    writeCards(db.path(), {makeCard("DURAND", "Paul", 3, 120, 45), makeCard("MARTIN", "Léa", 0, 300, 300)});
    writeBytes(db.file("StrFic.txt"), "\"a\"\r\n");
    writeBytes(f.program.file("dossier.txt"), "Clients\r\n");
    // "Valider" without a double click on a name keeps the chooser open.
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        auto* chooser = qobject_cast<Ffrance29*>(w);
        chooser->clickList();
        chooser->validate();
        EXPECT_TRUE(chooser->isVisible());
        chooser->close();
    });
    f.main->openDatabase();
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Vous n'avez pas sélectionné correctement la base de données : "
                                                      "faites un double-clic sur le nom !"));
    EXPECT_EQ(f.main->values().Label2, f.program.path());
    f.openDatabase(db.path());
    EXPECT_EQ(f.main->values().Label2, db.path());
    EXPECT_EQ(f.main->values().Label6, QStringLiteral("2"));
    EXPECT_EQ(f.main->windowTitle(), QStringLiteral("Tabulon : Dossier ") + db.path().chopped(1));
    EXPECT_EQ(readBytes(db.file("StrFic.txt")), QByteArray("\"a\"\r\n"));  // a database with cards keeps its captions
    // Blue pin of card 1, nothing where the archived card stands.
    EXPECT_EQ(f.main->mapImage().pixelColor(114, 45), QColor(0, 0, 255));
    EXPECT_NE(f.main->mapImage().pixelColor(294, 300), QColor(64, 64, 64));

    QDir(f.program.path()).mkdir("Vrac");
    f.openDatabase(f.program.path() + "Vrac/");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !"));
    EXPECT_EQ(f.main->values().Label2, db.path());

    // An empty database takes the program folder's captions again.
    TempDatabase empty(f.program.path(), "Vide");
    writeBytes(empty.file("StrFic.txt"), "\"a\"\r\n");
    f.openDatabase(empty.path());
    EXPECT_EQ(readBytes(empty.file("StrFic.txt")), readBytes(f.program.file("StrFic.txt")));
}

TEST(MapClicks, LeftClickListsCardsWithinTheSquareRightClickProposesTheNext)
{
    GuiFixture f;
    f.createDatabase("BasePerso");
    const QString db = f.main->values().Label2;
    f.main->mapLeftClick(100, 100);
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Il n'y a aucune fiche dans la base de données !"));
    EXPECT_TRUE(f.dialogs.modals.isEmpty());

    std::vector<CardRecord> cards{makeCard("B", "b", 3, 100, 100), makeCard("A", "a", 0, 100, 100),
                                  makeCard("C", "c", 2, 104, 96), makeCard("D", "d", 1, 106, 100)};
    for (int i = 4; i < 12; ++i)
        cards.push_back(makeCard("N", "p", 3, 10 * i, 10));
    writeCards(db, cards);
    f.main->mapLeftClick(100, 100);
    auto* list = qobject_cast<FFrance3*>(f.dialogs.lastModal());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->List2->count(), 2);
    EXPECT_EQ(list->List2->item(0)->text(), QStringLiteral("         1"));
    EXPECT_EQ(list->List2->item(1)->text(), QStringLiteral("         3"));
    EXPECT_TRUE(list->List3->item(0)->text().endsWith(QStringLiteral(" Fiche n°           1")));
    f.main->mapLeftClick(500, 500);
    EXPECT_EQ(list->List1->count(), 0);

    f.main->values().Label10 = "0";
    f.main->mapMouseMove(120, 45);
    f.main->mapRightClick();
    auto* creation = qobject_cast<FFrance11*>(f.dialogs.lastModal());
    ASSERT_NE(creation, nullptr);
    EXPECT_EQ(creation->Label2->text(), QStringLiteral("13"));
    EXPECT_EQ(creation->Text1[0]->text(), QStringLiteral("3 120") + QString(17, u' ') + QStringLiteral(" 45"));
    EXPECT_EQ(f.main->values().Label10, QStringLiteral("3"));
}

TEST(MapChoice, NewMapIsStoredAndPinsRedrawn)
{
    GuiFixture f;
    f.createDatabase("BasePerso");
    const QString db = f.main->values().Label2;
    writeCards(db, {makeCard("DURAND", "Paul", 2, 50, 40)});
    QImage plan(200, 100, QImage::Format_RGB32);
    plan.fill(Qt::white);
    QDir(f.program.path()).mkdir("Cartes");
    const QString path = f.program.path() + "Cartes/plan.bmp";
    ASSERT_TRUE(plan.save(path));

    f.dialogs.modalScripts.enqueue([&](QWidget* w) {
        auto* browser = qobject_cast<FFrance22*>(w);
        ASSERT_NE(browser, nullptr);
        browser->openFolder(f.program.path() + "Cartes");
        browser->clickFile("plan.bmp");
        browser->Command1->click();
    });
    action(*f.main, "cartes")->trigger();
    EXPECT_EQ(f.main->values().Label200, path);
    EXPECT_EQ(readBytes(db + "carte.txt"), (path + "\r\n").toUtf8());
    EXPECT_EQ(f.main->mapImage().pixelColor(44, 40), QColor(192, 0, 0));

    // Closed without a choice: the same map comes back with its pins.
    f.dialogs.modalScripts.enqueue([](QWidget* w) { w->close(); });
    action(*f.main, "cartes")->trigger();
    EXPECT_EQ(f.main->values().Label200, path);
    EXPECT_EQ(f.main->mapImage().pixelColor(44, 40), QColor(192, 0, 0));
}

TEST(MapChoice, UnreadableMapLeavesTheProgramUsable)
{
    GuiFixture f;
    TempDatabase db(f.program.path(), "Clients");
    writeCards(db.path(), {makeCard("DURAND", "Paul", 3, 120, 45)});
    writeBytes(db.file("carte.txt"), (db.path() + "carte.gif\r\n").toUtf8());
    writeBytes(db.file("carte.gif"), "pas une image");
    writeBytes(f.program.file("dossier.txt"), "Clients\r\n");
    f.openDatabase(db.path());
    EXPECT_TRUE(f.main->mapImage().isNull());
    EXPECT_EQ(f.main->values().Label6, QStringLiteral("1"));
    f.main->mapLeftClick(120, 45);
    auto* list = qobject_cast<FFrance3*>(f.dialogs.lastModal());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->List2->count(), 1);
}
