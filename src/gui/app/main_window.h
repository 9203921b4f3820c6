#pragma once
#include "core/db/session.h"
#include "gui/app/app_context.h"
#include "gui/app/windows.h"

#include <QImage>
#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class MapPicture;
class SearchBox;
class ZoomControl;

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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QAction* addAction(QWidget* menu, const char* name, const QString& caption);
    QMenu* addMenu(QWidget* parentMenu, const char* name, const QString& caption, QChar mnemonic = {});
    void startUp();
    void fitOnScreen();
    void layoutViewport();
    void scrollMap();
    void setDatabaseMenusVisible();
    // The database in use changed: its map, pins, menus and title.
    void followDatabase();

    // Loads the image at path (empty when it cannot be read) and lays out the
    // viewport; keepPlace keeps the scroll bars where they are.
    void loadMap(const QString& path, bool keepPlace = false);
    // The map as loaded with the pins of the database in use.
    void drawPins();
    void onCardStored(long long n);
    // The zoom changed: the viewport follows, mapPoint back under viewPoint,
    // and the database keeps it.
    void followZoom(QPointF mapPoint, QPoint viewPoint);
    void showHint();
    void openFoundCard(long long n);
    QString pinNames(int x, int y) const;

    void createDatabase();
    void openDatabase();
    void chooseMap();
    void mapLeftClick(int x, int y);
    void mapRightClick();
    void startHelp();
    void startDisplaySettings();
    bool refuseWithoutDatabase();

    tb::Session m_session;
    Windows m_windows;
    AppContext m_ctx;
    QImage m_map;  // as loaded
    QString m_mapPath;
    QString m_position;  // position text of the mouse over the map
    bool m_applyingZoom = false;  // the database's zoom is being shown
    bool m_zoomWriteFailed = false;

    QScrollBar* m_hScroll = nullptr;
    QScrollBar* m_vScroll = nullptr;
    QWidget* m_container = nullptr;
    MapPicture* m_picture = nullptr;
    SearchBox* m_search = nullptr;
    ZoomControl* m_zoom = nullptr;
    QLabel* m_hint = nullptr;
    QAction* m_cartes = nullptr;
    QMenu* m_clients = nullptr;
    QMenu* m_structure = nullptr;
    QAction* m_tournee = nullptr;
};
