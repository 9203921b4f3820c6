#pragma once
#include "gui/app/app_context.h"

#include <QPointer>
#include <QWidget>

class ClipboardViewer;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Fiche confidentielle": the confidential note of one card, with case
// changes, printing and the note cipher. Saves the note when closed.
class FFrance9 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance9(AppContext& ctx, QWidget* parent = nullptr);

    // The note file (Text2) and the card summary (Text5); the note is loaded
    // from the file less the line end its last save added.
    void openNote(const QString& path, const QString& summary);

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void toLowerCase();   // Command1
    void toUpperCase();   // Command2
    void cipher();        // Command3
    void selectAll();     // Command4
    void clearText();     // Command5
    void eurosToFrancs();  // Command6
    void francsToEuros();  // Command9
    void showClipboard(); // Command8
    void print();         // Command10

private:
    // The note's text, every byte as in the file (stand-ins mapped back).
    QString note() const;
    void setNote(const QString& note);
    void changeCase(bool upper);
    QPushButton* addButton(const char* name, const QString& caption, const QString& tip = QString());

    AppContext& m_ctx;
    QPlainTextEdit* m_text = nullptr;     // Text1
    QLineEdit* m_path = nullptr;          // Text2
    QPlainTextEdit* m_summary = nullptr;  // Text5
    QLabel* m_wait = nullptr;             // Text4
    QList<QPushButton*> m_buttons;
    QPointer<ClipboardViewer> m_clipboard;
};
