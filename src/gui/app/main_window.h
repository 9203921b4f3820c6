#pragma once
#include "gui/app/app_context.h"
#include "gui/app/shared_values.h"
#include "gui/app/windows.h"

#include <QImage>
#include <QMainWindow>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class MapPicture;

// The main window: the map in its viewport, the menu bar, the shared values.
class FFrance : public QMainWindow {
    Q_OBJECT
public:
    // programFolder ends with "/".
    FFrance(Dialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);
    ~FFrance() override;

    SharedValues& values() { return m_values; }
    AppContext& context() { return m_ctx; }
    Windows& windows() { return m_windows; }

    // The map image with its pins (what PicImage shows).
    const QImage& mapImage() const { return m_map; }
    // Loads the image named by Label200 (empty when it cannot be read) and lays
    // out the viewport; pins are gone until drawPins().
    void reloadMap();
    // Reads the count into Label6 and draws the pins of every active card on
    // every map picture that exists.
    void drawPins();
    // Map redraw: reloadMap() then drawPins().
    void redrawMap();

    // Database commands of "Fichier".
    void createDatabase();
    void openDatabase();
    // Makes folder (ending with "/") the database in use, as Open does once
    // the chooser has answered. False, with a message, when it is no database.
    bool openDatabaseFolder(const QString& folder);

    // Map mouse events, in pixels of the map image.
    void mapMouseMove(int x, int y);
    void mapLeftClick(int x, int y);
    void mapRightClick();

    // Control and action lookup for tests and accessibility.
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QWidget* PicContainer = nullptr;
    MapPicture* PicImage = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QAction* addAction(QWidget* menu, const char* name, const QString& caption);
    QMenu* addMenu(QWidget* parentMenu, const char* name, const QString& caption);
    void startUp();
    void layoutViewport();
    void scrollMap();
    void showMap();
    void setDatabaseMenusVisible();
    void onMapChoice();
    void onLeftClick(int x, int y);
    void startHelp();
    void startDisplaySettings();
    void showError(int number, const QString& text = QString());

    SharedValues m_values;
    AppContext m_ctx;
    Windows m_windows;
    QImage m_map;
    QAction* m_cartes = nullptr;
    QMenu* m_clients = nullptr;
    QMenu* m_structure = nullptr;
    QAction* m_tournee = nullptr;
};
