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

    // Before each opening: forgets the last confirmed choice and lists the
    // folder that holds the database in use (the program folder without one),
    // so that its neighbours show.
    void resetChoice();
    // The folder confirmed with "Valider" (ending with "/"), or "".
    QString chosenFolder() const { return m_confirmed; }

private:
    void validate();
    // Database folders show apart: their own icon and their card count.
    void markDatabases();

    AppContext& m_ctx;
    FolderList* m_folders = nullptr;
    QLabel* m_path = nullptr;
    QPushButton* m_validate = nullptr;
    QString m_chosen;   // the folder listed after the last double-click or click
    QString m_start;    // the folder listed at opening
    QString m_confirmed;
};
