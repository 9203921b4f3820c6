#include "gui/app/main_window.h"

#include "gui/exchange/exchange_commands.h"
#include "gui/sync/sync_commands.h"

#include "core/base/numeric.h"
#include "core/base/number_text.h"
#include "core/base/value_files.h"
#include "core/db/database_files.h"
#include "core/external/external_programs.h"
#include "core/external/launcher.h"
#include "core/db/recent_databases.h"
#include "core/external/start_up.h"
#include "core/exchange/card_import.h"
#include "core/map/default_map.h"
#include "gui/app/database_chooser_window.h"
#include "gui/app/dialogs.h"
#include "gui/app/secondary_window.h"
#include "gui/app/window_keys.h"
#include "gui/cards/trash_window.h"
#include "gui/journals/debtors_window.h"
#include "gui/letters/letter_editor_window.h"
#include "gui/cards/creation_window.h"
#include "gui/cards/structure_window.h"
#include "gui/journals/reminders_window.h"
#include "gui/external/program_paths_window.h"
#include "gui/lists/list_commands.h"
#include "gui/lists/search_box.h"
#include "gui/map/map_browser_window.h"
#include "gui/map/map_picture.h"
#include "gui/map/map_view.h"
#include "gui/map/zoom_control.h"
#include "gui/map/zone_window.h"
#include "gui/postal/postal_commands.h"
#include "gui/tools/calendar_window.h"
#include "gui/tools/converter_window.h"
#include "gui/tools/iban_window.h"
#include "gui/tools/rib_window.h"
#include "gui/widgets/accessible_names.h"
#include "gui/widgets/menu_builder.h"

#include <QAction>
#include <tuple>
#include <utility>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
const QString kNoDatabase = QStringLiteral(
    " Vous devez au préalable créer une nouvelle base de données ou ouvrir une base de données existante !");
const QString kNoCards = QStringLiteral(" Il n'y a aucune fiche dans la base de données !");
const QString kFirstStepHint
    = QStringLiteral(" Pour commencer : menu « Fichier », créez une base de données ou ouvrez-en une.");
const QString kMapHint = QStringLiteral(
    " Clic droit sur la carte : créer une fiche. Clic gauche près d'une épingle : voir les fiches de cet endroit.");
}  // namespace

FFrance::FFrance(Dialogs& dialogs, tb::Launcher& launcher, const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), m_session(programFolder), m_launcher(launcher, dialogs),
      m_ctx{m_session, dialogs, m_launcher}
{
    installAccessibleNames();  // before any control is made
    m_windows.setUp(&m_ctx, this);
    setObjectName(QStringLiteral("FFrance"));
    setWindowTitle(QStringLiteral("Tabulon"));

    // The search box over the map, the first-card hint under it.
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_map = new MapView(central);
    m_map->setKeepsZoom(true);
    m_search = new SearchBox(m_map->viewport(), central);
    m_search->setTipsFrom(m_session);
    m_search->setMaximumWidth(520);
    auto* top = new QHBoxLayout;
    top->addWidget(m_search, 1);
    top->addStretch(1);
    m_hint = new QLabel(kFirstStepHint, central);
    m_hint->setObjectName(QStringLiteral("MapHint"));
    layout->addLayout(top);
    layout->addWidget(m_map, 1);
    layout->addWidget(m_hint);

    MapPicture* picture = m_map->picture();
    picture->setPinNames([this](int x, int y) { return m_map->pinNames(x, y); });
    connect(m_map, &MapView::failed, this, [this](const tb::Error& e) { m_ctx.dialogs.showError(e); });
    connect(picture, &MapPicture::pressed, this, [this](Qt::MouseButton button, int x, int y) {
        if (button == Qt::LeftButton)
            mapLeftClick(x, y);
        else if (button == Qt::RightButton)
            mapRightClick(x, y);
    });

    connect(m_search, &SearchBox::cardChosen, this, [this](long long n) { m_windows.openCard(n); });
    connect(m_search, &SearchBox::failed, this, [this](const tb::Error& e) { m_ctx.dialogs.showError(e); });
    connect(m_search, &SearchBox::listRequested, this, [this](const QString& typed) {
        if (const tb::Database* db = m_session.database()) {
            tb::Result<tb::Database::SearchResult> found = db->search(typed);
            m_windows.showList(found ? tb::Result<tb::CardList>(std::move(found->list)) : tb::Result<tb::CardList>(found.error()),
                               tb::ListShown::Search);
        }
    });
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, m_search, &SearchBox::focusBox);

    m_reminders = new tb::ReminderGathering(this);
    connect(m_reminders, &tb::ReminderGathering::ready, this, &FFrance::takeReminders);
    buildMenus();
    connect(&m_session, &tb::Session::databaseChanged, this, &FFrance::followDatabase);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    auto* syncStatus = new QLabel(statusBar());
    syncStatus->setObjectName(QStringLiteral("SyncStatus"));
    statusBar()->addPermanentWidget(syncStatus);
    connect(m_sync, &SyncCommands::statusChanged, syncStatus, &QLabel::setText);
    statusBar()->addPermanentWidget(new ZoomControl(picture, statusBar()));
    connect(&m_session, &tb::Session::notice, this, [this](const QString& text) { statusBar()->showMessage(text, 4000); });
    // F1 and F10 in every window, modal ones included.
    new WindowKeys(m_ctx, this);
    startUp();
}

FFrance::~FFrance()
{
    // The secondary windows go before the session they follow.
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow())
            delete w;
}

void FFrance::buildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* fichier = addSubmenu(bar, "Fichier", QStringLiteral("Fichier"), u'F');
    connect(addMenuEntry(fichier, "Nbase", QStringLiteral("Création d'une nouvelle base de données")), &QAction::triggered,
            this, &FFrance::createDatabase);
    QAction* open = addMenuEntry(fichier, "Obase", QStringLiteral("Ouvrir une base de données existante"));
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, &FFrance::openDatabase);
    m_recent = addSubmenu(fichier, "BasesRecentes", QStringLiteral("Bases récentes"));
    connect(m_recent, &QMenu::aboutToShow, this, &FFrance::fillRecentDatabases);
    fillRecentDatabases();
    connect(addMenuEntry(fichier, "Corbeille", QStringLiteral("Corbeille")), &QAction::triggered, this,
            &FFrance::showTrash);
    fichier->addSeparator();
    m_exchange = new ExchangeCommands(m_ctx, this, m_pointWait);
    m_exchange->addTo(fichier);
    m_sync = new SyncCommands(m_ctx, this, m_pointWait);
    m_sync->addTo(fichier);
    connect(m_sync, &SyncCommands::runningChanged, this, &FFrance::followSync);
    fichier->addSeparator();
    QAction* quit = addMenuEntry(fichier, "quitter", QStringLiteral("Quitter"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    m_cartes = addMenuEntry(bar, "cartes", QStringLiteral("Cartes & Plans"), u'C');
    connect(m_cartes, &QAction::triggered, this, &FFrance::chooseMap);

    m_clients = addSubmenu(bar, "clients", QStringLiteral("Base de données"), u'B');
    QAction* newCard = addMenuEntry(m_clients, "NouvFiche", QStringLiteral("Nouvelle fiche"));
    newCard->setShortcut(QKeySequence::New);
    connect(newCard, &QAction::triggered, this, &FFrance::newCard);
    connect(addMenuEntry(m_clients, "Voirlesfiches", QStringLiteral("Voir, modifier, archiver les fiches")),
            &QAction::triggered, this, [this] {
                if (hasCardsOrWarn(m_ctx))
                    m_windows.openFirstCard();
            });
    QMenu* listes = addSubmenu(m_clients, "listclients", QStringLiteral("Listes des fiches"));
    const std::tuple<const char*, const char*, tb::ListKind> lists[] = {
        {"alpha", "Classement alphabétique", tb::ListKind::Alphabetical},
        {"villes", "Classement par villes", tb::ListKind::ByCity},
        {"CPostaux", "Classement par codes postaux", tb::ListKind::ByPostalCode},
    };
    for (const auto& [name, text, kind] : lists)
        connect(addMenuEntry(listes, name, QString::fromUtf8(text)), &QAction::triggered, this,
                [this, kind] { showSortedList(kind); });
    QMenu* recherches = addSubmenu(m_clients, "recherches", QStringLiteral("Recherches"));
    const std::tuple<const char*, const char*, tb::SearchField> searches[] = {
        {"Rechnom", "Recherche par le nom", tb::SearchField::Surname},
        {"Rechcp1", "Recherche par le code postal", tb::SearchField::PostalCode},
        {"Rechloc", "Recherche par la localité", tb::SearchField::City},
        {"Rechtelf", "Recherche par le n° de téléphone fixe", tb::SearchField::Landline},
        {"rechtelp", "Recherche par le n° de téléphone portable", tb::SearchField::Mobile},
    };
    for (const auto& [name, text, field] : searches)
        connect(addMenuEntry(recherches, name, QString::fromUtf8(text)), &QAction::triggered, this,
                [this, field] { showSearch(field); });
    connect(addMenuEntry(m_clients, "FicArch", QStringLiteral("Fiches archivées")), &QAction::triggered, this,
            [this] { showSortedList(tb::ListKind::Archived); });
    connect(addMenuEntry(m_clients, "Debiteurs", QStringLiteral("Liste des débiteurs")), &QAction::triggered, this,
            &FFrance::showDebtors);
    connect(addMenuEntry(m_clients, "octets", QStringLiteral("Nombre de fiches")), &QAction::triggered, this,
            [this] { showCardCount(m_ctx); });
    connect(addMenuEntry(m_clients, "Adresses", QStringLiteral("Adresses avec traitement de texte")),
            &QAction::triggered, this, [this] { exportAddresses(m_ctx); });
    connect(addMenuEntry(m_clients, "mail", QStringLiteral("Adresses E-mail")), &QAction::triggered, this,
            [this] {
                if (const std::optional<tb::EmailLists> lists = emailLists(m_ctx))
                    m_windows.showEmails(*lists);
            });
    QMenu* ficExport = addSubmenu(m_clients, "FicExport", QStringLiteral("Fichier \"EXPORT\""));
    connect(addMenuEntry(ficExport, "export",
                      QStringLiteral("Création du fichier \"EXPORT\" sous forme d'un fichier texte")),
            &QAction::triggered, this, [this] { exportCards(m_ctx); });
    connect(addMenuEntry(ficExport, "AppelGE", QStringLiteral("Appel du gestionnaire externe de bases de données")),
            &QAction::triggered, this, [this] { callDatabaseManager(m_ctx); });
    connect(addMenuEntry(ficExport, "AppelMDB",
                      QStringLiteral("Pour les utilisateurs de Microsof Access : Appel de TABulon.mdb")),
            &QAction::triggered, this, [this] { callDatabaseManagerWithExport(m_ctx); });
    // The memento lines and birthdays due, and how far ahead and back to look.
    connect(addMenuEntry(m_clients, "Rappels", QStringLiteral("Rappels…")), &QAction::triggered, this,
            &FFrance::showReminders);

    m_structure = addSubmenu(bar, "Structure", QStringLiteral("Structure"), u'S');
    connect(addMenuEntry(m_structure, "Fiche", QStringLiteral("Fiche")), &QAction::triggered, this,
            [this] {
                if (m_session.hasDatabase())
                    m_windows.editStructure();
            });
    connect(addMenuEntry(m_structure, "MExel", QStringLiteral("Maquette \"EXCEL\"")), &QAction::triggered, this,
            [this] { editSpreadsheetTemplate(m_ctx); });
    connect(addMenuEntry(m_structure, "MNote", QStringLiteral("Maquette \"Note confidentielle\"")), &QAction::triggered,
            this, [this] { editNoteTemplate(m_ctx); });

    m_tournee = addMenuEntry(bar, "Tournèe", QStringLiteral("Définition de zones"), u'D');
    connect(m_tournee, &QAction::triggered, this, &FFrance::showZones);

    QMenu* outils = addSubmenu(bar, "Outils", QStringLiteral("Accessoires"), u'A');
    connect(addMenuEntry(outils, "Rechcp", QStringLiteral("Recherche d'une ville par son code postal")),
            &QAction::triggered, this, [this] { searchCityByPostalCode(m_ctx, m_windows.postalWindow()); });
    connect(addMenuEntry(outils, "RechparVille", QStringLiteral("Recherche d'un Code postal  par le nom de la ville")),
            &QAction::triggered, this, [this] { searchPostalCodeByCity(m_ctx, m_windows.postalWindow()); });

    QMenu* accessoires = addSubmenu(bar, "accessoires", QStringLiteral("Outils"), u'O');
    QAction* rib = addMenuEntry(accessoires, "RIB", QStringLiteral("Clé RIB"));
    rib->setVisible(false);
    connect(rib, &QAction::triggered, this, [this] { m_ctx.dialogs.showModal(m_windows.ribWindow()); });
    connect(addMenuEntry(accessoires, "calendrier", QStringLiteral("Calendrier")), &QAction::triggered, this,
            [this] { m_ctx.dialogs.showModal(m_windows.calendar()); });
    connect(addMenuEntry(accessoires, "cvt", QStringLiteral("Convertisseur Euros")), &QAction::triggered, this,
            [this] { m_ctx.dialogs.showModal(m_windows.converter()); });
    connect(addMenuEntry(accessoires, "iban", QStringLiteral("Contrôle d'un IBAN")), &QAction::triggered, this,
            [this] { m_ctx.dialogs.showModal(m_windows.ibanWindow()); });
    connect(addMenuEntry(accessoires, "LettresTypes", QStringLiteral("Lettres types")), &QAction::triggered, this,
            [this] { m_ctx.dialogs.showModal(new FLettres(m_ctx, this)); });
    connect(addMenuEntry(accessoires, "Affichage", QStringLiteral("Affichage")), &QAction::triggered, this,
            &FFrance::startDisplaySettings);
    connect(addMenuEntry(accessoires, "Expediteur", QStringLiteral("Expéditeur")), &QAction::triggered, this,
            [this] { m_windows.editSender(); });

    QMenu* logExt = addSubmenu(bar, "LogExt", QStringLiteral("Logiciels externes"), u'L');
    QMenu* rech = addSubmenu(logExt, "RechLogExt", QStringLiteral("Recherches des logiciels externes"));
    const std::pair<const char*, const char*> kinds[] = {
        {"LogTrtExcel", "Logiciel traitement des feuilles EXCEL"},
        {"LogTrtTxt", "Logiciel traitement de texte"},
        {"LogTrtImage", "Logiciel traitement de l'image"},
        {"LogTrtBdd", "Logiciel traitement de bases de données"},
        {"LogAdrE", "Logiciel gestion carnet d'adresses électroniques"},
        {"scanner", "Logiciel permettant l'utilisation du scanner"},
    };
    int code = 0;
    for (const auto& [name, caption] : kinds) {
        connect(addMenuEntry(rech, name, QString::fromUtf8(caption)), &QAction::triggered, this,
                [this, kind = ++code] { m_windows.chooseProgram(kind); });
    }
    connect(addMenuEntry(logExt, "LogExtActuels", QStringLiteral("Chemins des logiciels externes actuellement sélectionnés")),
            &QAction::triggered, this, [this] { m_ctx.dialogs.showModal(m_windows.programPaths()); });

    QMenu* toile = addSubmenu(bar, "toile", QStringLiteral("Sur la toile"), u't');
    const auto links = [this] { return tb::readWebLinks(m_session.programFolder()); };
    connect(addMenuEntry(toile, "auteur", QStringLiteral("Site de Tabulon")), &QAction::triggered, this,
            [this, links] { m_ctx.launcher.openUrl(links().author); });
    connect(addMenuEntry(toile, "utile", QStringLiteral("Site utile")), &QAction::triggered, this,
            [this, links] { m_ctx.launcher.openUrl(links().useful); });
    connect(addMenuEntry(toile, "MsgAuteur", QStringLiteral("Écrire à l'auteur")), &QAction::triggered, this,
            [this, links] { m_ctx.launcher.openUrl(links().contact); });
    connect(addMenuEntry(toile, "msg", QStringLiteral("Envoyer un message électronique")), &QAction::triggered, this,
            [this] { m_ctx.launcher.openUrl(tb::mailtoUrl(QString())); });

    QAction* aide = addMenuEntry(bar, "aide", QStringLiteral("Aide"), u'e');
    connect(aide, &QAction::triggered, this, &FFrance::startHelp);

    // Shown once a database is created or opened.
    m_cartes->setVisible(false);
    m_clients->menuAction()->setVisible(false);
    m_structure->menuAction()->setVisible(false);
    m_tournee->setVisible(false);
}

void FFrance::startUp()
{
    const QString folder = m_session.programFolder();
    fitOnScreen();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // The size the user knows: device pixels, whatever the scaling.
        const QSize size = screen->size() * screen->devicePixelRatio();
        const QString text = tb::screenCheckMessage(size.width(), size.height());
        if (!text.isEmpty())
            m_ctx.dialogs.message(text);
    }

    m_map->loadMap(folder + QStringLiteral("frc.gif"));
    if (tb::Status s = m_session.useProgramMap(m_map->mapPath()); !s)
        m_ctx.dialogs.showError(s.error());
    m_session.setMarker(3);
    const QStringList recent = tb::RecentDatabases::folders();
    if (tb::RecentDatabases::reopenAtStart() && !recent.isEmpty())
        openDatabaseFolder(recent.first());
}

void FFrance::fillRecentDatabases()
{
    m_recent->clear();
    int k = 0;
    for (const QString& folder : tb::RecentDatabases::folders()) {
        const QByteArray name = "Recent" + QByteArray::number(++k);
        QAction* action = addMenuEntry(m_recent, name.constData(), folder.chopped(1));
        connect(action, &QAction::triggered, this, [this, folder] { openDatabaseFolder(folder); });
    }
    m_recent->addSeparator();
    QAction* reopen = addMenuEntry(m_recent, "RouvrirDerniere", QStringLiteral("Rouvrir la dernière base au démarrage"));
    reopen->setCheckable(true);
    reopen->setChecked(tb::RecentDatabases::reopenAtStart());
    connect(reopen, &QAction::toggled, this, [](bool on) { tb::RecentDatabases::setReopenAtStart(on); });
}

void FFrance::fitOnScreen()
{
    // Large enough for the whole default map where the screen allows it; the
    // whole window, title bar included, stays on the screen.
    QSize size(1000, 780);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        size = size.boundedTo(avail.size() - frameAround(this));
        resize(size);
        move(avail.topLeft());
        return;
    }
    resize(size);
}

QImage FFrance::mapImage() const
{
    return m_map->image();
}

void FFrance::closeEvent(QCloseEvent* event)
{
    if (m_sync->running()) {
        event->ignore();
        m_ctx.dialogs.message(QStringLiteral(" Une synchronisation est en cours : fermez Tabulon quand elle est finie."));
        return;
    }
    // Every command has already written its files: nothing to save here.
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isWindow())
            w->hide();
    QMainWindow::closeEvent(event);
}

void FFrance::setDatabaseMenusVisible()
{
    m_cartes->setVisible(true);
    m_clients->menuAction()->setVisible(true);
    m_tournee->setVisible(true);
    m_structure->menuAction()->setVisible(true);
}

void FFrance::followDatabase()
{
    tb::Database* db = m_session.database();
    m_search->clear();
    showHint();
    if (!db) {
        m_map->follow(db, m_session.programFolder());
        setWindowTitle(QStringLiteral("Tabulon"));
        m_search->setSearcher({});
        m_reminders->cancel();
        takeReminders(std::vector<tb::Reminder>{});
        return;
    }
    tb::RecentDatabases::add(db->folder());
    fillRecentDatabases();
    // Read in the background while the map is drawn: ready for the first key
    // and the first list.
    db->prepareSearch();
    db->prepareLists();
    m_search->setSearcher([db](const QString& typed) { return db->search(typed, SearchBox::kShownLines); });
    connect(db, &tb::Database::countChanged, this, &FFrance::showHint);
    m_map->follow(db, m_session.programFolder());
    setWindowTitle(QStringLiteral("Tabulon : Dossier ") + db->folder().chopped(1));
    setDatabaseMenusVisible();
    m_session.setMarker(3);
    // Cards renumbered or gone: the reminders shown follow them.
    const auto follow = [this] {
        if (FRappels* w = m_windows.remindersWindowIfOpen(); w && w->isVisible())
            regatherReminders();
    };
    connect(db, &tb::Database::countChanged, this, follow);
    connect(db, &tb::Database::cardsRenumbered, this, follow);
    gatherReminders(true);
}

void FFrance::gatherReminders(bool showWhenDue)
{
    const tb::Database* db = m_session.database();
    if (!db)
        return;
    m_showDue = showWhenDue;
    if (FRappels* w = m_windows.remindersWindowIfOpen())
        w->setGathering();
    m_reminders->start(db->store(), db->count(), db->captions(), QDate::currentDate(),
                       tb::readReminderSettings(m_session.programFolder()));
}

void FFrance::regatherReminders()
{
    gatherReminders(false);
}

void FFrance::takeReminders(const tb::Result<std::vector<tb::Reminder>>& found)
{
    const bool show = std::exchange(m_showDue, false);
    FRappels* open = m_windows.remindersWindowIfOpen();
    if (!found) {
        // Told in a message only to a user who asked for them.
        if (open && open->isVisible())
            m_ctx.dialogs.showError(found.error());
        else
            m_session.announce(QStringLiteral(" Les rappels n'ont pas pu être lus : ") + found.error().message());
        return;
    }
    m_due = *found;
    if (open)
        open->setReminders(m_due);
    if (show && !m_due.empty()) {
        FRappels* w = remindersWindow();
        w->setReminders(m_due);
        m_ctx.dialogs.showModeless(w);
    }
}

void FFrance::showReminders()
{
    if (refuseWithoutDatabase())
        return;
    FRappels* w = remindersWindow();
    w->setReminders(m_due);
    m_ctx.dialogs.showModeless(w);
    regatherReminders();
}

FRappels* FFrance::remindersWindow()
{
    FRappels* w = m_windows.remindersWindow();
    connect(w, &FRappels::settingsChanged, this, &FFrance::regatherReminders, Qt::UniqueConnection);
    return w;
}

void FFrance::showHint()
{
    const tb::Database* db = m_session.database();
    m_hint->setText(db ? kMapHint : kFirstStepHint);
    m_hint->setVisible(!db || db->count() == 0);
}

void FFrance::showTrash()
{
    if (refuseWithoutDatabase())
        return;
    m_ctx.dialogs.showModal(new FCorbeille(m_ctx, this));
}

void FFrance::showDebtors()
{
    if (!hasCardsOrWarn(m_ctx))
        return;
    auto* debtors = new FDebiteurs(m_ctx, this);
    connect(debtors, &FDebiteurs::cardChosen, this, [this](long long n) { m_windows.openCard(n); });
    connect(debtors, &FDebiteurs::lettersRequested, this, &FFrance::openLetters);
    m_ctx.dialogs.showModal(debtors);
}

void FFrance::openLetters(const QList<long long>& cards)
{
    if (refuseWithoutDatabase() || cards.isEmpty())
        return;
    m_windows.openLetters(cards);
}

void FFrance::showSortedList(tb::ListKind kind)
{
    if (std::optional<tb::Result<std::shared_ptr<tb::ListFill>>> list = sortedList(m_ctx, kind))
        m_windows.showSortedList(std::move(*list), tb::listShown(kind));
}

void FFrance::showSearch(tb::SearchField field)
{
    const auto forgetList = [this] { m_windows.forgetList(); };
    if (std::optional<tb::Result<tb::CardList>> found = searchList(m_ctx, field, forgetList))
        m_windows.showList(std::move(*found), tb::ListShown::Search);
}

void FFrance::createDatabase()
{
    const QString program = m_session.programFolder();
    const std::optional<QString> answer
        = m_ctx.dialogs.input(QStringLiteral("Bonjour, Saisissez le nom de la base de donnèes que vous souhaitez créer !"),
                              QStringLiteral("Nom de la base de donnèes à créer"), QStringLiteral("BasePerso"));
    const QString name = answer.value_or(QString());
    if (name.isEmpty())
        return;
    QList<tb::Error> templateErrors;
    tb::Result<std::unique_ptr<tb::Database>> created = tb::Database::create(program, name, &templateErrors);
    if (!created) {
        m_ctx.dialogs.showError(created.error());
        return;
    }
    for (const tb::Error& e : templateErrors)
        m_ctx.dialogs.showError(e);
    m_session.setDatabase(std::move(created).value());
    m_ctx.dialogs.message(QStringLiteral(
        " Vous pouvez maintenant conserver la carte affichée ou rechercher une autre carte ou un plan. En outre, avant "
        "de créer la 1ère fiche, allez dans * Structure * et aménagez les maquettes des fiches, de la feuille EXEL et "
        "de la note confidentielle en fonction de vos besoins  !"));
}

void FFrance::openDatabase()
{
    if (!m_session.hasCreatedDatabase()) {
        m_ctx.dialogs.message(QStringLiteral("Aucune base de donnèes n'existe !"));
        return;
    }
    QPointer<Ffrance29> chooser = m_windows.databaseChooser();
    chooser->resetChoice();
    m_ctx.dialogs.showModal(chooser);
    // Closed without a valid choice: the database in use stays as it was.
    if (!chooser || chooser->chosenFolder().isEmpty())
        return;
    openDatabaseFolder(chooser->chosenFolder());
}

void FFrance::openDatabaseFolder(const QString& folder)
{
    QList<tb::Error> warnings;
    const tb::Result<QString> correction = m_session.openForUse(folder, &warnings);
    if (!correction) {
        m_ctx.dialogs.showError(correction.error());
        return;
    }
    for (const tb::Error& e : warnings)
        m_ctx.dialogs.showError(e);
    if (!correction->isEmpty())
        m_ctx.dialogs.message(*correction);
}

void FFrance::showZones()
{
    m_ctx.dialogs.showModal(m_windows.zoneWindow());
}

void FFrance::chooseMap()
{
    m_ctx.dialogs.showModal(m_windows.mapBrowser());
    m_clients->menuAction()->setVisible(true);
    m_tournee->setVisible(true);
}

bool FFrance::refuseWithoutDatabase()
{
    if (m_session.hasDatabase())
        return false;
    m_ctx.dialogs.message(kNoDatabase);
    return true;
}

void FFrance::mapLeftClick(int x, int y)
{
    // An import or the sync settings wait for a point on this map.
    if (m_pointWait.take(x, y))
        return;
    if (m_newCardCode && m_session.hasDatabase()) {
        const QString code = *std::exchange(m_newCardCode, std::nullopt);
        openCreation(x, y, -1, code);
        return;
    }
    if (refuseWithoutDatabase())
        return;
    tb::Database* db = m_session.database();
    if (db->count() == 0) {
        m_ctx.dialogs.message(kNoCards);
        return;
    }
    m_windows.showList(db->cardsAt(x, y), tb::ListShown::MapPoint);
}

void FFrance::mapRightClick(int x, int y)
{
    if (refuseWithoutDatabase())
        return;
    // On the default map the card starts in the department clicked.
    const int row = tb::isDefaultMap(m_session.database()->mapPath())
                        ? tb::DepartmentOutlines::departmentRowAt(m_session.programFolder(), x, y)
                        : -1;
    openCreation(x, y, row, QString());
}

void FFrance::newCard()
{
    if (refuseWithoutDatabase())
        return;
    const std::optional<QString> typed = m_ctx.dialogs.input(QStringLiteral("Code postal de la nouvelle fiche :"),
                                                             QStringLiteral("Nouvelle fiche"), QString());
    if (!typed)
        return;
    const QString code = typed->trimmed();
    tb::Database* db = m_session.database();
    bool found = false;
    const QPointF at = tb::departmentPoint(code, db->count() + 1, &found);
    if (tb::usesDefaultMap(*db) && found) {
        const QPoint pixel = at.toPoint();
        openCreation(at.x(), at.y(),
                     tb::DepartmentOutlines::departmentRowAt(m_session.programFolder(), pixel.x(), pixel.y()), code);
        return;
    }
    m_newCardCode = code;
    m_ctx.dialogs.message(tb::usesDefaultMap(*db) && !code.isEmpty()
                              ? QStringLiteral(" Ce code postal n'a pas de département sur la carte : cliquez sur la "
                                               "carte à l'endroit de la nouvelle fiche.")
                              : QStringLiteral(" Cliquez sur la carte à l'endroit de la nouvelle fiche."));
}

void FFrance::openCreation(double x, double y, int departmentRow, const QString& postalCode)
{
    m_session.setMarker(m_session.markerForNewCard());
    FFrance11* creation = m_windows.creationWindow();
    creation->prepare(m_session.database()->count() + 1, tb::PinField(QChar(u'0' + m_session.marker()), x, y));
    creation->startAt(departmentRow, postalCode);
    m_ctx.dialogs.showModal(creation);
}

void FFrance::startHelp()
{
    tb::startHelp(m_ctx.launcher, m_session.programFolder());
}

void FFrance::followSync(bool running)
{
    for (const char* name : {"Nbase", "Obase", "Restauration", "quitter"})
        if (QAction* a = findChild<QAction*>(QLatin1String(name)))
            a->setEnabled(!running);
    m_recent->menuAction()->setEnabled(!running);
}

void FFrance::startDisplaySettings()
{
    const QStringList command = tb::displaySettingsCommand();
    if (!command.isEmpty())
        m_ctx.launcher.startProgram(command.first(), command.mid(1));
}

