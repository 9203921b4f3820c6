#pragma once
#include "app/app_context_ui.h"

#include <QWidget>

class FilePickerWidget;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// "Recherche de photos (fichiers "JPG")": chooses the database's map image.
class FFrance22 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance22(AppContext& ctx, QWidget* parent = nullptr);

    FilePickerWidget* picker() const { return m_picker; }
    // As a double-click on a folder / a click on a file would.
    bool openFolder(const QString& folder);
    void clickFile(const QString& name);

    QComboBox* Drive1 = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLabel* TxtChemin = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Pctdim = nullptr;
    QPushButton* Command1 = nullptr;

private:
    void load();

    AppContext& m_ctx;
    FilePickerWidget* m_picker = nullptr;
};
