#include "gui/app/main_window.h"

#include "core/db/database_files.h"
#include "gui/app/database_chooser_window.h"
#include "gui/app/dialogs.h"
#include "core/db/program_folder.h"
#include "core/external/start_up.h"
#include "core/base/numeric.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/cards/card_store.h"
#include "gui/cards/card_window.h"
#include "gui/cards/creation_window.h"
#include "core/lists/card_lists.h"
#include "gui/lists/list_commands.h"
#include "gui/lists/list_window.h"
#include "core/map/hit_test.h"
#include "gui/map/map_browser_window.h"
#include "gui/map/map_picture.h"
#include "core/map/pins.h"
#include "core/map/preview_image.h"
#include "gui/postal/postal_commands.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>

namespace {
QString escapeAmpersands(QString caption)
{
    return caption.replace(u'&', QStringLiteral("&&"));
}
}  // namespace

FFrance::FFrance(Dialogs& dialogs, const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), m_ctx{m_values, dialogs, this, &m_windows}, m_windows(m_ctx)
{
    setObjectName(QStringLiteral("FFrance"));
    setWindowTitle(QStringLiteral("Tabulon"));
    m_values.Label11 = programFolder;
    m_values.Label2 = programFolder;

    auto* central = new QWidget(this);
    setCentralWidget(central);
    PicContainer = new QWidget(central);
    PicContainer->setObjectName(QStringLiteral("PicContainer"));
    PicContainer->setAutoFillBackground(true);
    PicImage = new MapPicture(PicContainer);
    HScroll1 = new QScrollBar(Qt::Horizontal, central);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setAccessibleName(QStringLiteral("Défilement horizontal de la carte"));
    VScroll1 = new QScrollBar(Qt::Vertical, central);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setAccessibleName(QStringLiteral("Défilement vertical de la carte"));
    // The map moves when the thumb is released, not while it is dragged.
    HScroll1->setTracking(false);
    VScroll1->setTracking(false);
    connect(HScroll1, &QScrollBar::valueChanged, this, &FFrance::scrollMap);
    connect(VScroll1, &QScrollBar::valueChanged, this, &FFrance::scrollMap);
    connect(PicImage, &MapPicture::mouseMoved, this, &FFrance::mapMouseMove);
    connect(PicImage, &MapPicture::pressed, this, [this](Qt::MouseButton button, int x, int y) {
        if (button == Qt::LeftButton)
            mapLeftClick(x, y);
        else if (button == Qt::RightButton)
            mapRightClick();
    });

    buildMenus();
    startUp();
}

FFrance::~FFrance() = default;

QAction* FFrance::addAction(QWidget* menu, const char* name, const QString& caption)
{
    auto* action = new QAction(escapeAmpersands(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    menu->addAction(action);
    return action;
}

QMenu* FFrance::addMenu(QWidget* parentMenu, const char* name, const QString& caption)
{
    auto* menu = new QMenu(escapeAmpersands(caption), parentMenu);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    menu->setAccessibleName(caption);
    parentMenu->addAction(menu->menuAction());
    return menu;
}

void FFrance::buildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* fichier = addMenu(bar, "Fichier", QStringLiteral("Fichier"));
    connect(addAction(fichier, "Nbase", QStringLiteral("Création d'une nouvelle base de données")), &QAction::triggered,
            this, &FFrance::createDatabase);
    connect(addAction(fichier, "Obase", QStringLiteral("Ouvrir une base de données existante")), &QAction::triggered,
            this, &FFrance::openDatabase);
    connect(addAction(fichier, "quitter", QStringLiteral("Quitter")), &QAction::triggered, this, &QWidget::close);

    m_cartes = addAction(bar, "cartes", QStringLiteral("Cartes & Plans"));
    connect(m_cartes, &QAction::triggered, this, &FFrance::onMapChoice);

    m_clients = addMenu(bar, "clients", QStringLiteral("Base de données"));
    connect(addAction(m_clients, "Voirlesfiches", QStringLiteral("Voir, modifier, archiver les fiches")),
            &QAction::triggered, this, [this] { showAllCards(m_ctx); });
    QMenu* listes = addMenu(m_clients, "listclients", QStringLiteral("Listes des fiches"));
    connect(addAction(listes, "alpha", QStringLiteral("Classement alphabétique")), &QAction::triggered, this,
            [this] { showSortedList(m_ctx, tb::ListKind::Alphabetical); });
    connect(addAction(listes, "villes", QStringLiteral("Classement par villes")), &QAction::triggered, this,
            [this] { showSortedList(m_ctx, tb::ListKind::ByCity); });
    connect(addAction(listes, "CPostaux", QStringLiteral("Classement par codes postaux")), &QAction::triggered, this,
            [this] { showSortedList(m_ctx, tb::ListKind::ByPostalCode); });
    QMenu* recherches = addMenu(m_clients, "recherches", QStringLiteral("Recherches"));
    addAction(recherches, "Rechnom", QStringLiteral("Recherche par le nom"));
    addAction(recherches, "Rechcp1", QStringLiteral("Recherche par le code postal"));
    addAction(recherches, "Rechloc", QStringLiteral("Recherche par la localité"));
    addAction(recherches, "Rechtelf", QStringLiteral("Recherche par le n° de téléphone fixe"));
    addAction(recherches, "rechtelp", QStringLiteral("Recherche par le n° de téléphone portable"));
    connect(addAction(m_clients, "FicArch", QStringLiteral("Fiches archivées")), &QAction::triggered, this,
            [this] { showSortedList(m_ctx, tb::ListKind::Archived); });
    connect(addAction(m_clients, "octets", QStringLiteral("Nombre de fiches")), &QAction::triggered, this,
            [this] { showCardCount(m_ctx); });
    addAction(m_clients, "Adresses", QStringLiteral("Adresses avec traitement de texte"));
    addAction(m_clients, "mail", QStringLiteral("Adresses E-mail"));
    QMenu* ficExport = addMenu(m_clients, "FicExport", QStringLiteral("Fichier \"EXPORT\""));
    addAction(ficExport, "export", QStringLiteral("Création du fichier \"EXPORT\" sous forme d'un fichier texte"));
    addAction(ficExport, "AppelGE", QStringLiteral("Appel du gestionnaire externe de bases de données"));
    addAction(ficExport, "AppelMDB", QStringLiteral("Pour les utilisateurs de Microsof Access : Appel de TABulon.mdb"));

    m_structure = addMenu(bar, "Structure", QStringLiteral("Structure"));
    addAction(m_structure, "Fiche", QStringLiteral("Fiche"));
    addAction(m_structure, "MExel", QStringLiteral("Maquette \"EXCEL\""));
    addAction(m_structure, "MNote", QStringLiteral("Maquette \"Note confidentielle\""));

    m_tournee = addAction(bar, "Tournèe", QStringLiteral("Définition de zones"));

    QMenu* outils = addMenu(bar, "Outils", QStringLiteral("Accessoires"));
    connect(addAction(outils, "Rechcp", QStringLiteral("Recherche d'une ville par son code postal")),
            &QAction::triggered, this, [this] { searchCityByPostalCode(m_ctx); });
    connect(addAction(outils, "RechparVille", QStringLiteral("Recherche d'un Code postal  par le nom de la ville")),
            &QAction::triggered, this, [this] { searchPostalCodeByCity(m_ctx); });

    QMenu* accessoires = addMenu(bar, "accessoires", QStringLiteral("Outils"));
    addAction(accessoires, "RIB", QStringLiteral("Clé RIB"))->setVisible(false);
    addAction(accessoires, "calendrier", QStringLiteral("Calendrier"));
    addAction(accessoires, "cvt", QStringLiteral("Convertisseur Euros"));
    connect(addAction(accessoires, "Affichage", QStringLiteral("Affichage")), &QAction::triggered, this,
            &FFrance::startDisplaySettings);

    QMenu* logExt = addMenu(bar, "LogExt", QStringLiteral("Logiciels externes"));
    QMenu* rech = addMenu(logExt, "RechLogExt", QStringLiteral("Recherches des logiciels externes"));
    const std::pair<const char*, const char*> kinds[] = {
        {"LogTrtExcel", "Logiciel traitement des feuilles EXCEL"},
        {"LogTrtTxt", "Logiciel traitement de texte"},
        {"LogTrtImage", "Logiciel traitement de l'image"},
        {"LogTrtBdd", "Logiciel traitement de bases de données"},
        {"LogAdrE", "Logiciel gestion carnet d'adresses électroniques"},
        {"scanner", "Logiciel permettant l'utilisation du scanner"},
    };
    int kind = 1;
    for (const auto& [name, caption] : kinds) {
        const QString digit = QString::number(kind++);
        connect(addAction(rech, name, QString::fromUtf8(caption)), &QAction::triggered, this,
                [this, digit] { m_values.Label104 = digit; });
    }
    addAction(logExt, "LogExtActuels", QStringLiteral("Chemins des logiciels externes actuellement sélectionnés"));

    QMenu* toile = addMenu(bar, "toile", QStringLiteral("Sur la toile"));
    addAction(toile, "auteur", QStringLiteral("Site de Tabulon"));
    addAction(toile, "utile", QStringLiteral("Site utile"));
    addAction(toile, "MsgAuteur", QStringLiteral("Écrire à l'auteur"));
    addAction(toile, "msg", QStringLiteral("Envoyer un message électronique"));

    connect(addAction(bar, "aide", QStringLiteral("Aide")), &QAction::triggered, this, &FFrance::startHelp);

    // Shown once a database is created or opened.
    m_cartes->setVisible(false);
    m_clients->menuAction()->setVisible(false);
    m_structure->menuAction()->setVisible(false);
    m_tournee->setVisible(false);
}

void FFrance::startUp()
{
    const QString folder = m_values.Label11;
    tb::makeProgramFolderCurrent(folder);
    // Large enough for the whole default map where the screen allows it.
    QSize size(1000, 780);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize());
    resize(size);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QString text = tb::screenCheckMessage(screen->size().width(), screen->size().height());
        if (!text.isEmpty())
            m_ctx.dialogs.message(text);
    }

    m_values.Label101 = tb::readFirstValue(folder + QStringLiteral("LogExcel.txt"));
    m_values.Label102 = tb::readFirstValue(folder + QStringLiteral("LogTxt.txt"));
    m_values.Label103 = tb::readFirstValue(folder + QStringLiteral("LogImg.txt"));
    m_values.Label105 = tb::readFirstValue(folder + QStringLiteral("LogBdd.txt"));
    m_values.Label106 = tb::readFirstValue(folder + QStringLiteral("LogMail.txt"));
    m_values.Label107 = tb::readFirstValue(folder + QStringLiteral("LogScan.txt"));

    m_values.Label2 = folder;
    m_values.Label11 = folder;
    m_values.Label200 = folder + QStringLiteral("frc.gif");
    reloadMap();
    tb::writeValueFile(folder + QStringLiteral("carte.txt"), m_values.Label200);
    m_values.Label10 = QStringLiteral("3");
}

void FFrance::reloadMap()
{
    m_map = tb::loadMapImage(m_values.Label200);
    PicImage->setImage(&m_map);
    PicImage->move(0, 0);
    HScroll1->setValue(0);
    VScroll1->setValue(0);
    layoutViewport();
}

void FFrance::drawPins()
{
    CardStore store(m_values.Label2);
    std::vector<QImage*> images{&m_map};
    tb::drawAllPins(store, images, &m_values.Label6);
    PicImage->update();
}

void FFrance::redrawMap()
{
    reloadMap();
    drawPins();
}

void FFrance::layoutViewport()
{
    QWidget* inner = centralWidget();
    if (!inner)
        return;
    const int barW = VScroll1->sizeHint().width();
    const int barH = HScroll1->sizeHint().height();
    const int w = qMax(0, inner->width() - barW);
    const int h = qMax(0, inner->height() - barH);
    PicContainer->setGeometry(0, 0, w, h);
    VScroll1->setGeometry(w, 0, barW, h);
    HScroll1->setGeometry(0, h, w, barH);
    // A map smaller than the viewport needs no scrolling: it sits at the top left.
    HScroll1->setRange(0, qBound(0, PicImage->width() - w, 32767));
    VScroll1->setRange(0, qBound(0, PicImage->height() - h, 32767));
    HScroll1->setPageStep(qMax(1, w));
    VScroll1->setPageStep(qMax(1, h));
    HScroll1->setSingleStep(20);
    VScroll1->setSingleStep(20);
    scrollMap();
}

void FFrance::scrollMap()
{
    PicImage->move(-HScroll1->value(), -VScroll1->value());
}

void FFrance::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layoutViewport();
}

void FFrance::closeEvent(QCloseEvent* event)
{
    // Every command has already written its files: nothing to save here.
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow())
            w->hide();
    QMainWindow::closeEvent(event);
}

void FFrance::showError(int number, const QString& text)
{
    m_ctx.dialogs.message(QStringLiteral("Erreur n° ") + QString::number(number) + text);
}

void FFrance::setDatabaseMenusVisible()
{
    m_cartes->setVisible(true);
    m_clients->menuAction()->setVisible(true);
    m_tournee->setVisible(true);
    m_structure->menuAction()->setVisible(true);
}

void FFrance::createDatabase()
{
    const QString program = m_values.Label11;
    tb::makeProgramFolderCurrent(program);
    m_values.Label8 = program;
    const std::optional<QString> answer
        = m_ctx.dialogs.input(QStringLiteral("Bonjour, Saisissez le nom de la base de donnèes que vous souhaitez créer !"),
                              QStringLiteral("Nom de la base de donnèes à créer"), QStringLiteral("BasePerso"));
    const QString name = answer.value_or(QString());
    m_values.Label3 = name;
    if (name.isEmpty())
        return;
    if (!tb::isSafeDatabaseName(name)) {
        showError(tb::kErrorBadFileName);
        return;
    }
    tb::writeValueFile(program + QStringLiteral("dossier.txt"), name);
    const QString folder = program + name;
    if (QFileInfo::exists(folder)) {
        showError(tb::kErrorPathAccess, QStringLiteral(" :  Ce nom existe déja, choisissez un autre nom ! "));
        return;
    }
    if (!QDir().mkdir(folder)) {
        // Nothing can be copied into a folder that could not be made.
        showError(tb::kErrorPathAccess);
        return;
    }
    m_values.Label2 = folder + u'/';
    setWindowTitle(QStringLiteral("Tabulon : Dossier ") + m_values.Label2.chopped(1));
    for (const QString& file : tb::databaseTemplateFiles())
        if (!tb::copyFileReplacing(program + file, m_values.Label2 + file))
            showError(tb::kErrorFileNotFound);
    m_ctx.dialogs.message(QStringLiteral(
        " Vous pouvez maintenant conserver la carte affichée ou rechercher une autre carte ou un plan. En outre, avant "
        "de créer la 1ère fiche, allez dans * Structure * et aménagez les maquettes des fiches, de la feuille EXEL et "
        "de la note confidentielle en fonction de vos besoins  !"));
    setDatabaseMenusVisible();
    m_values.Label200 = program + QStringLiteral("frc.gif");
    reloadMap();
}

void FFrance::openDatabase()
{
    const QString program = m_values.Label11;
    tb::makeProgramFolderCurrent(program);
    if (tb::readFirstValue(program + QStringLiteral("dossier.txt")).isEmpty()) {
        m_ctx.dialogs.message(QStringLiteral("Aucune base de donnèes n'existe !"));
        return;
    }
    const QString previous = m_values.Label2;
    Ffrance29* chooser = m_windows.databaseChooser();
    chooser->resetChoice();
    m_ctx.dialogs.showModal(chooser);
    // Closed without a valid choice: the database in use stays as it was.
    if (!chooser || !chooser->hasChosen()) {
        m_values.Label2 = previous;
        return;
    }
    const QString chosen = m_values.Label2;
    m_values.Label2 = previous;
    if (chosen.isEmpty())
        return;
    openDatabaseFolder(chosen);
}

bool FFrance::openDatabaseFolder(const QString& folder)
{
    if (!tb::isDatabaseFolder(folder)) {
        m_ctx.dialogs.message(QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !"));
        return false;
    }
    m_values.Label2 = folder;
    setWindowTitle(QStringLiteral("Tabulon : Dossier ") + folder.chopped(1));
    m_values.Label200 = tb::readFirstValue(folder + QStringLiteral("carte.txt"));
    reloadMap();
    setDatabaseMenusVisible();
    m_values.Label10 = QStringLiteral("3");
    // Drawing the pins reads the count into Label6.
    drawPins();
    if (tb::numericValue(m_values.Label6) == 0) {
        // An empty database takes the program folder's current templates.
        const QString program = m_values.Label11;
        tb::copyFileReplacing(program + QStringLiteral("F.xls"), folder + QStringLiteral("F.xls"));
        tb::copyFileReplacing(program + QStringLiteral("StrFic.txt"), folder + QStringLiteral("StrFic.txt"));
    }
    return true;
}

void FFrance::onMapChoice()
{
    m_ctx.dialogs.showModal(m_windows.mapBrowser());
    reloadMap();
    m_clients->menuAction()->setVisible(true);
    m_tournee->setVisible(true);
    drawPins();
}

void FFrance::mapMouseMove(int x, int y)
{
    m_values.Label1 = tb::positionText(x, y);
}

void FFrance::mapLeftClick(int x, int y)
{
    if (!m_values.hasDatabase()) {
        m_ctx.dialogs.message(
            QStringLiteral(" Vous devez au préalable créer une nouvelle base de données ou ouvrir une base de données existante !"));
        return;
    }
    onLeftClick(x, y);
}

void FFrance::onLeftClick(int x, int y)
{
    CardStore store(m_values.Label2);
    const long long n = store.readCountInto(m_values.Label6);
    if (n == 0) {
        m_ctx.dialogs.message(QStringLiteral(" Il n'y a aucune fiche dans la base de données !"));
        return;
    }
    if (FFrance4* card = m_windows.existingCardWindow())
        card->clearFields();
    const std::vector<long long> hits = tb::cardsAt(store, n, x, y);
    FFrance3* list = m_windows.listWindow();
    list->setLists(tb::hitList(store, n, hits));
    m_ctx.dialogs.showModal(list);
}

void FFrance::mapRightClick()
{
    if (!m_values.hasDatabase()) {
        m_ctx.dialogs.message(
            QStringLiteral(" Vous devez au préalable créer une nouvelle base de données ou ouvrir une base de données existante !"));
        return;
    }
    const long long count = CardStore(m_values.Label2).readCountInto(m_values.Label6);
    if (m_values.Label10 == QStringLiteral("0"))
        m_values.Label10 = QStringLiteral("3");
    FFrance11* creation = m_windows.creationWindow();
    creation->Label2->setText(tb::plainNumber(count + 1));
    creation->Text1[0]->setText(m_values.Label10 + m_values.Label1);
    m_windows.refreshSwatches();
    m_ctx.dialogs.showModal(creation);
}

void FFrance::startHelp()
{
    QProcess::startDetached(m_values.Label11 + QStringLiteral("tbaide"), {}, m_values.Label11);
}

void FFrance::startDisplaySettings()
{
    const QStringList command = tb::displaySettingsCommand();
    if (!command.isEmpty())
        QProcess::startDetached(command.first(), command.mid(1));
}
