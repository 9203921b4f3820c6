#pragma once
#include "app/app_context_ui.h"

#include <QWidget>

// "Recherche de photos (fichiers "JPG")": chooses the database's map image.
class FFrance22 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance22(AppContext& ctx, QWidget* parent = nullptr);

private:
    AppContext& m_ctx;
};
