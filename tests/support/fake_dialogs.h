#pragma once
// Scripted Dialogs for tests: answers are queued, everything shown is recorded,
// and showModal returns at once so the test can drive the window shown.
#include "gui/app/dialogs.h"

#include <QList>
#include <QPointer>
#include <QQueue>
#include <functional>

class FakeDialogs : public Dialogs {
public:
    // A scripted answer never asked for fails the test: the flow went another way.
    ~FakeDialogs() override;

    struct Shown {
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        // Questions only: their buttons, default button and help page.
        QMessageBox::StandardButtons buttons = QMessageBox::NoButton;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QString helpPage;
    };

    // What the program showed, in order.
    QList<Shown> messages, questions, inputs;
    QList<QPointer<QWidget>> modals, modeless;
    int beeps = 0;
    int busyDepth = 0;

    // Scripted answers; an empty queue answers as a user pressing OK would:
    // the default button, the default text, the initial font or colour.
    QQueue<QMessageBox::StandardButton> questionAnswers;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<std::optional<QFont>> fontAnswers;
    QQueue<std::optional<QColor>> colorAnswers;
    QList<QFont> fontsOffered;  // the initial font and colour of each choice
    QList<QColor> colorsOffered;
    // File and folder choices; an empty queue answers as Cancel would.
    QQueue<std::optional<QString>> fileAnswers;
    QList<Shown> fileChoices;
    // Run, in order, while a window is "modal": each script drives the window
    // shown (types, clicks its confirm button) before showModal returns.
    QQueue<std::function<void(QWidget*)>> modalScripts;
    bool printerAccepted = true;
    // Print previews: how many were shown; each draws its pages into
    // previewPdf (beside printToPdf when set). An empty queue prints.
    int previews = 0;
    QString previewPdf;
    QQueue<bool> previewAnswers;
    QString printToPdf;  // when set, the chosen printer writes this PDF file

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
    QWidget* lastModal() const { return modals.isEmpty() ? nullptr : modals.last().data(); }

    void message(const QString& text, const QString& title, QMessageBox::Icon icon) override
    {
        messages.append({text, title, icon});
    }
    QMessageBox::StandardButton question(const QString& text, const QString& title,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton, QMessageBox::Icon icon,
                                         const QString& helpPage) override
    {
        questions.append({text, title, icon, buttons, defaultButton, helpPage});
        return questionAnswers.isEmpty() ? defaultButton : questionAnswers.dequeue();
    }
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        inputs.append({prompt, title, QMessageBox::NoIcon});
        return inputAnswers.isEmpty() ? std::optional<QString>(defaultText) : inputAnswers.dequeue();
    }
    void beep() override { ++beeps; }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    bool choosePrinter(QPrinter& printer) override;
    bool previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
    std::optional<QFont> chooseFont(const QFont& initial) override
    {
        fontsOffered.append(initial);
        return fontAnswers.isEmpty() ? std::optional<QFont>(initial) : fontAnswers.dequeue();
    }
    std::optional<QColor> chooseColor(const QColor& initial) override
    {
        colorsOffered.append(initial);
        return colorAnswers.isEmpty() ? std::optional<QColor>(initial) : colorAnswers.dequeue();
    }
    std::optional<QString> chooseFile(const QString& title, const QString& startPath, const QString& filter,
                                      bool forSaving) override
    {
        fileChoices.append({startPath + u'|' + filter + (forSaving ? QStringLiteral("|save") : QString()), title});
        return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
    }
    std::optional<QString> chooseFolder(const QString& title, const QString& startFolder) override
    {
        fileChoices.append({startFolder, title});
        return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
    }
    void showModal(QWidget* window) override;
    void showModeless(QWidget* window) override;
};
