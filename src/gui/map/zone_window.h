#pragma once
#include "core/lists/card_list.h"
#include "core/map/zone.h"
#include "gui/app/app_context.h"

#include <QWidget>

class MapView;
class QLabel;
class QTimer;

// "Définition de zones": a second view of the map with the pins, on which two
// left clicks mark a zone and a right click lists its cards. Left through its
// menu it only hides and keeps the zone; its close box forgets it.
class Ffrance28 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance28(AppContext& ctx, QWidget* parent = nullptr);

signals:
    // The cards inside the zone, for the list window.
    void listRequested(const tb::CardList& list);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void followDatabase();
    void markCorner(int x, int y);
    void listZone();
    void eraseZone();  // Effacer
    void showZone();

    AppContext& m_ctx;
    MapView* m_map = nullptr;
    QLabel* m_caption = nullptr;  // Label6, blinking
    QLabel* m_hint = nullptr;
    QTimer* m_blink = nullptr;  // Timer1
    tb::ZoneMarking m_zone;
};
