#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class QComboBox;
class QListWidget;
class QPushButton;
class QTextEdit;

// "Lettres types": the form letters of the program folder, written with the
// note editor's tools and fields inserted from a list. Nothing typed is lost:
// leaving a changed letter asks first.
class FLettres : public QWidget {
    Q_OBJECT
public:
    explicit FLettres(AppContext& ctx, QWidget* parent = nullptr);

    QString currentLetter() const { return m_current; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillLetters(const QString& select);
    void showLetter(const QString& name);
    void letterChosen();
    // False when the user stays on the letter (Annuler, or a failed save).
    bool keepOrDropChanges();
    bool save();
    void insertField();
    void newLetter();
    void removeLetter();
    void toggleWeight();
    void toggleItalic();
    QPushButton* addButton(const char* name, const QString& caption, const QString& tip = QString());

    AppContext& m_ctx;
    QString m_current;
    QListWidget* m_letters = nullptr;  // List1
    QTextEdit* m_text = nullptr;       // Text1
    QComboBox* m_fields = nullptr;     // Combo1
    QList<QPushButton*> m_buttons;
};
