#pragma once
#include "gui/map/browser_window_base.h"

class FilePickerWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Rechercher": copies a chosen file into the database under a card's name.
class Ffrance23 : public BrowserWindowBase {
    Q_OBJECT
public:
    explicit Ffrance23(AppContext& ctx, QWidget* parent = nullptr);

    // What the caller sets before showing it: the file pattern ("*.jpg"),
    // whether the text preview replaces the picture, and the target base name
    // (prefix and card number, e.g. "photo12").
    void prepare(const QString& pattern, bool textPreview, const QString& targetBase);
    // The same for a photo of a card not created yet: nothing is copied, the
    // chosen picture is handed over through pictureChosen.
    void prepareChoice(const QString& pattern, const QString& targetBase);

signals:
    void pictureChosen(const QString& path);


private:
    QPlainTextEdit* TextRech = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text1 = nullptr;

    void onFileClicked(const QString& path);
    void save();

    bool m_textPreview = false;
    bool m_choiceOnly = false;
    // The folder of the last picture and of the last text chosen.
    QString m_lastFolder[2];
};
