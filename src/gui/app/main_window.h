#pragma once
#include "core/db/session.h"
#include "core/journals/reminders.h"
#include "core/lists/card_lists.h"
#include "core/lists/searches.h"
#include "gui/app/app_context.h"
#include "gui/app/reporting_launcher.h"
#include "gui/app/windows.h"
#include "gui/map/map_point_wait.h"

#include <QImage>
#include <QMainWindow>
#include <optional>

class QAction;
class QMenu;
class MapView;
class ExchangeCommands;
class SyncCommands;
class QLabel;
class SearchBox;
class FRappels;

// The main window: the map in its viewport with the pins of the database in
// use, and the menu bar.
class FFrance : public QMainWindow {
    Q_OBJECT
public:
    // programFolder ends with "/".
    FFrance(Dialogs& dialogs, tb::Launcher& launcher, const QString& programFolder, QWidget* parent = nullptr);
    ~FFrance() override;

    tb::Session& session() { return m_session; }

    // The map image with its pins, as drawn at 100 %.
    QImage mapImage() const;

public slots:
    // "Lettres…" for these cards: a form letter chosen, merged, what is
    // missing said, then previewed and printed.
    void openLetters(const QList<long long>& cards);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void startUp();
    void fitOnScreen();
    void setDatabaseMenusVisible();
    // The database in use changed: its map, pins, menus and title.
    void followDatabase();
    // The line under the map, until the first card exists.
    void showHint();
    void showSortedList(tb::ListKind kind);  // alpha, villes, CPostaux, FicArch
    void showSearch(tb::SearchField field);   // Rechnom, Rechcp1, Rechloc, Rechtelf, rechtelp

    void createDatabase();
    void openDatabase();
    // Opens the database of folder (a chosen or a recent one).
    void openDatabaseFolder(const QString& folder);
    void fillRecentDatabases();
    void chooseMap();
    void showZones();
    void showTrash();  // Corbeille
    void showDebtors();  // Debiteurs
    void mapLeftClick(int x, int y);
    void mapRightClick(int x, int y);
    // "Nouvelle fiche": asks the postal code, pins the card in its department
    // on the default map (elsewhere where the user clicks next).
    void newCard();
    // The creation window for a new card pinned at (x, y), on that department
    // row (-1: the remembered one) and with that postal code (none when empty).
    void openCreation(double x, double y, int departmentRow, const QString& postalCode);
    void startHelp();
    void startDisplaySettings();
    // While a sync runs, the database in use stays: no other is created, opened or restored.
    void followSync(bool running);
    bool refuseWithoutDatabase();
    // The reminders of the database in use, gathered in the background;
    // showWhenDue: the window opens when there are any (a database opened).
    void gatherReminders(bool showWhenDue);
    void regatherReminders();
    void takeReminders(const tb::Result<std::vector<tb::Reminder>>& found);
    void showReminders();  // Rappels
    FRappels* remindersWindow();

    tb::Session m_session;
    ReportingLauncher m_launcher;
    Windows m_windows;
    AppContext m_ctx;
    // The postal code of a new card waiting for its place on the map.
    std::optional<QString> m_newCardCode;

    MapView* m_map = nullptr;
    SearchBox* m_search = nullptr;
    QLabel* m_hint = nullptr;
    QAction* m_cartes = nullptr;
    QMenu* m_clients = nullptr;
    QMenu* m_recent = nullptr;  // BasesRecentes
    QMenu* m_structure = nullptr;
    QAction* m_tournee = nullptr;
    MapPointWait m_pointWait;
    ExchangeCommands* m_exchange = nullptr;
    SyncCommands* m_sync = nullptr;
    tb::ReminderGathering* m_reminders = nullptr;
    std::vector<tb::Reminder> m_due;
    bool m_showDue = false;
};
