#pragma once
// Every message box, question, input box, beep, busy pointer, common dialog and
// modal window goes through this service, so that tests can script them.
#include "core/base/error.h"

#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>

namespace tb {
class Launcher;
}
class QPrinter;
class QWidget;

// Starts the guide (tbaide, beside the program) on page ("" for its home
// page); it also looks for the guide in folder's "help".

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Message box with the program's name as title, OK button, no icon.
    virtual void message(const QString& text, const QString& title = QStringLiteral("Tabulon"),
                         QMessageBox::Icon icon = QMessageBox::NoIcon) = 0;
    // Question with the given buttons; returns the button pressed. With a
    // helpPage the box has a help button that shows that page of the guide.
    virtual QMessageBox::StandardButton question(const QString& text, const QString& title,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton,
                                                 QMessageBox::Icon icon = QMessageBox::Question,
                                                 const QString& helpPage = QString()) = 0;
    // Input box; std::nullopt when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    // Input box whose text is hidden as typed; std::nullopt when cancelled.
    virtual std::optional<QString> password(const QString& prompt, const QString& title)
    {
        return input(prompt, title, QString());
    }
    virtual void beep() = 0;
    virtual void setBusy(bool busy) = 0;
    // Common dialogs: false / nullopt when the user cancels.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // "Aperçu avant impression": the pages paint draws on printer, shown
    // before anything is printed; true when the user asks to print them.
    virtual bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // A file to read (or to write when forSaving: a file that exists is
    // replaced after asking) and a folder; std::nullopt when cancelled.
    virtual std::optional<QString> chooseFile(const QString& title, const QString& startPath, const QString& filter,
                                              bool forSaving) = 0;
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& startFolder) = 0;
    // Shows window modally and returns when it is hidden or closed.
    virtual void showModal(QWidget* window) = 0;
    // Shows window without waiting.
    virtual void showModeless(QWidget* window) = 0;

    // "Erreur n° N : text" in a message box.
    void showError(const tb::Error& error) { message(error.message()); }

    // The font and colour last chosen for a print, offered again at the next
    // one while the program runs.
    std::optional<QFont> printFont;
    std::optional<QColor> printColor;
};

// The real service, on Qt's own dialogs.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    // Where a question's help button opens the guide.
    void setHelp(tb::Launcher* launcher, const QString& programFolder)
    {
        m_launcher = launcher;
        m_programFolder = programFolder;
    }

    void message(const QString& text, const QString& title, QMessageBox::Icon icon) override;
    QMessageBox::StandardButton question(const QString& text, const QString& title,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton,
                                         QMessageBox::Icon icon, const QString& helpPage) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> password(const QString& prompt, const QString& title) override;
    void beep() override;
    void setBusy(bool busy) override;
    bool choosePrinter(QPrinter& printer) override;
    bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<QString> chooseFile(const QString& title, const QString& startPath, const QString& filter,
                                      bool forSaving) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& startFolder) override;
    void showModal(QWidget* window) override;
    void showModeless(QWidget* window) override;

private:
    // Messages and dialogs stand above the window the user works in.
    QWidget* owner() const;

    QWidget* m_parent = nullptr;
    QString m_programFolder;
    tb::Launcher* m_launcher = nullptr;
};
