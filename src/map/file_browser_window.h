#pragma once
#include "app/app_context_ui.h"

#include <QWidget>

class FilePickerWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Rechercher": copies a chosen file into the database under a card's name.
class Ffrance23 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance23(AppContext& ctx, QWidget* parent = nullptr);

    // What the caller sets before showing it: the file pattern ("*.jpg"),
    // whether the text preview replaces the picture, and the target base name
    // (prefix and card number, e.g. "photo12").
    void prepare(const QString& pattern, bool textPreview, const QString& targetBase);

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
    QPlainTextEdit* TextRech = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;

private:
    void onFileClicked(const QString& path);
    void save();

    AppContext& m_ctx;
    FilePickerWidget* m_picker = nullptr;
    bool m_textPreview = false;
};
