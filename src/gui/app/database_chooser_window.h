#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class FolderList;
class QLabel;
class QPushButton;

// "Sélection d'une base de données.": a folder list; the user double-clicks
// the database folder, then confirms.
class Ffrance29 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance29(AppContext& ctx, QWidget* parent = nullptr);

    FolderList* Dir1 = nullptr;
    QPushButton* Command1 = nullptr;  // "Valider"
    QLabel* Label1 = nullptr;         // hidden: folder chosen, ending with "/"
    QLabel* Label2 = nullptr;         // hidden: folder shown at opening
    QLabel* Chemin = nullptr;         // the folder listed, for the user

    // What a double-click on a folder does: the list moves into it.
    void openFolder(const QString& path);
    // What a click does: Label1 names the listed folder.
    void clickList();
    // "Valider".
    void validate();

    // Whether "Valider" accepted a folder since the last reset.
    void resetChoice() { m_chosen = false; }
    bool hasChosen() const { return m_chosen; }

private:
    AppContext& m_ctx;
    bool m_chosen = false;
};
