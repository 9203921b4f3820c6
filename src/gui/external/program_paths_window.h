#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QListWidget;

// "Chemins des logiciels externes actuellement sélectionnés": the paths of
// the six external programs, read again at every opening.
class Ffrance14 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance14(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* List1 = nullptr;
    AppContext& m_ctx;
};
