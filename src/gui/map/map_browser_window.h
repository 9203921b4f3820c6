#pragma once
#include "gui/map/browser_window_base.h"

// "Recherche de photos (fichiers "JPG")": chooses the database's map image.
class FFrance22 : public BrowserWindowBase {
    Q_OBJECT
public:
    explicit FFrance22(AppContext& ctx, QWidget* parent = nullptr);

private:
    void load();
};
