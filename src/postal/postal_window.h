#pragma once
#include "app/app_context_ui.h"

#include <QWidget>

class QListWidget;

// "Liste des villes et des codes postaux".
class FFrance5 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance5(AppContext& ctx, QWidget* parent = nullptr);

    QListWidget* List1 = nullptr;

private:
    AppContext& m_ctx;
};
