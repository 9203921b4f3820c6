#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QAction;
class QListWidget;

// "Liste des villes et des codes postaux": the result of the postal searches.
class FFrance5 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance5(AppContext& ctx, QWidget* parent = nullptr);

    // Replaces the list's lines at once (the whole directory is ~35,000 lines).
    void setLines(const QStringList& lines);
    QStringList lines() const;

private:
    QListWidget* List1 = nullptr;
    QAction* Imprim5 = nullptr;
    void print();

    AppContext& m_ctx;
};
